// Inflate through the table with the real zlib1.dll (Debian's MinGW-w64
// package, as the Z: drive shows it) in the cache folder, without it, and
// with a stand-in that lacks the "inflate" entry point.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "folders_files.h"
#include "hostkit/host.h"

namespace {

// Held for the whole program: see folders_files.h.
const qltest::HostTreeLock hostTreeLock;
const wchar_t* const kZlib = L"Z:\\usr\\x86_64-w64-mingw32\\lib\\zlib1.dll";

std::wstring cachedZlib() {
    wchar_t path[1024] = {};
    hostkit::Object()->GetCacheFolder(path, 1024);
    CreateDirectoryW(path, nullptr);  // the library does not create it
    return path + std::wstring(L"\\ZLIB1.dll");
}

// The text compressed with the real library, which is unloaded afterwards.
std::vector<unsigned char> compress(const std::string& text) {
    HMODULE z = LoadLibraryW(kZlib);
    if (!z) return {};
    auto compress2 = reinterpret_cast<int (*)(unsigned char*, unsigned long*, const unsigned char*, unsigned long, int)>(
        reinterpret_cast<void*>(GetProcAddress(z, "compress2")));
    std::vector<unsigned char> out(text.size() + 1000);
    unsigned long size = static_cast<unsigned long>(out.size());
    compress2(out.data(), &size, reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned long>(text.size()), 6);
    out.resize(size);
    FreeLibrary(z);
    return out;
}

struct Inflate : ::testing::Test {
    std::string text = std::string(3000, 'r') + "ecord\tvalue\n" + std::string(40000, 'x');
    std::vector<unsigned char> packed = compress(text);
    std::wstring cached = cachedZlib();
    std::unique_ptr<hostkit::Object> holder = std::make_unique<hostkit::Object>();
    ICommon* obj = holder->get();
    void TearDown() override { DeleteFileW(cached.c_str()); }
    bool begin(size_t length, int32_t kind = 1) { return obj->InflateBegin(packed.data(), static_cast<uint32_t>(length), kind); }
    bool block(char* out, uint32_t room, uint32_t& produced, int32_t kind = 1) {
        return obj->InflateBlock(packed.data(), static_cast<int32_t>(packed.size()), out, room, &produced, kind);
    }
};

TEST_F(Inflate, RealZlib) {
    ASSERT_FALSE(packed.empty()) << "no zlib1.dll at Z:\\usr\\x86_64-w64-mingw32\\lib";
    ASSERT_TRUE(CopyFileW(kZlib, cached.c_str(), FALSE));
    std::vector<char> out(text.size() + 100);
    const uint32_t half = static_cast<uint32_t>(text.size() / 2);
    uint32_t produced = 0;
    // Room for half: false and half produced; a new buffer continues to the end.
    ASSERT_TRUE(begin(packed.size()));
    EXPECT_FALSE(block(out.data(), half, produced));
    EXPECT_EQ(produced, half);
    EXPECT_TRUE(block(out.data() + half, static_cast<uint32_t>(out.size()) - half, produced));
    EXPECT_EQ(std::string(out.data(), produced), text);
    obj->InflateFinish(1);
    // Truncated input: false, with what came out of the first half.
    ASSERT_TRUE(begin(packed.size() / 2));
    EXPECT_FALSE(block(out.data(), static_cast<uint32_t>(out.size()), produced));
    EXPECT_TRUE(produced > 0 && produced < text.size()) << produced;
    obj->InflateFinish(1);
    // Kind 2 is not zlib: nothing done, produced cleared.
    EXPECT_FALSE(begin(packed.size(), 2));
    EXPECT_FALSE(block(out.data(), 10, produced = 9, 2));
    EXPECT_EQ(produced, 0u);
    obj->InflateFinish(2);
    holder.reset();
    EXPECT_EQ(GetModuleHandleW(cached.c_str()), nullptr) << "the destroyer unloads the library";
}

TEST_F(Inflate, MissingLibraryThenStandInWithoutInflate) {
    char out[16];
    uint32_t produced = 5;
    EXPECT_FALSE(begin(packed.size()));
    EXPECT_FALSE(block(out, sizeof out, produced));
    EXPECT_EQ(produced, 0u);
    ASSERT_TRUE(CopyFileW((hostkit::testProgramFolder() + L"inflate_partial_zlib.dll").c_str(), cached.c_str(), FALSE));
    ASSERT_TRUE(begin(packed.size())) << "the load is tried again";
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(block(out, sizeof out, produced = 7)) << "inflate looked up again";
    EXPECT_EQ(produced, 0u);
    obj->InflateFinish(1);
    auto calls = reinterpret_cast<int (*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(cached.c_str()), "partialCalls")));
    ASSERT_NE(calls, nullptr);
    EXPECT_EQ(calls(), 101) << "one start, one end";
}

}  // namespace
