// Inflate through a recording fake of the loader and of zlib's three entry
// points: when the library is loaded and from where, which entry points are
// fetched and kept, what the stream record carries, the destroyer's
// releases, CopyLine.  Natively, one more case runs the system's real zlib
// through the real loader.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "datafile/inflate_library.h"
#include "folders_fake.h"
#include "platform_fakes.h"
#include "object/qlcommon_impl.h"

#ifndef _WIN32
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using ::testing::ElementsAre;

// What the fake zlib knows; one test at a time.
struct FakeZlib {
    std::vector<std::string> calls;
    std::string output = "hello, inflated world\n";
    int initResult = ql::kZOk;
    size_t written = 0;
} zlib;

int fakeInit(void* stream, const char* version, int size) {
    auto* z = static_cast<ql::ZStreamRecord*>(stream);
    zlib.calls.push_back(std::string("inflateInit_ ") + version + " " + std::to_string(size) +
                         (z->zalloc || z->zfree || z->opaque ? " allocators!" : "") + " in " +
                         std::to_string(z->avail_in));
    zlib.written = 0;
    z->total_out = 0;
    return zlib.initResult;
}

int fakeInflate(void* stream, int flush) {
    auto* z = static_cast<ql::ZStreamRecord*>(stream);
    zlib.calls.push_back("inflate flush " + std::to_string(flush) + " room " + std::to_string(z->avail_out));
    const size_t n = std::min<size_t>(z->avail_out, zlib.output.size() - zlib.written);
    std::memcpy(z->next_out, zlib.output.data() + zlib.written, n);
    zlib.written += n;
    z->total_out += n;
    z->avail_out -= static_cast<unsigned>(n);
    return zlib.written == zlib.output.size() ? ql::kZStreamEnd : ql::kZOk;
}

int fakeEnd(void*) {
    zlib.calls.push_back("inflateEnd");
    return ql::kZOk;
}

struct FakeLoader : ql::LibraryLoader {
    std::vector<std::string> calls;
    bool fileThere = true;
    std::set<std::string> missing;  // entry points the library lacks
    bool unloadFails = false;
    char module = 0;  // its address is the module handle

    void* LoadLibraryExW(const QLWChar* path, void* file, uint32_t flags) override {
        calls.push_back("LoadLibraryExW " + ql::toUtf8(path) + " flags " + std::to_string(flags) +
                        (file ? " file!" : ""));
        return fileThere ? &module : nullptr;
    }
    void* GetProcAddress(void* m, const char* name) override {
        calls.push_back(std::string("GetProcAddress ") + name);
        if (m != &module || missing.count(name)) return nullptr;
        const std::string n = name;
        if (n == "inflateInit_") return reinterpret_cast<void*>(&fakeInit);
        if (n == "inflate") return reinterpret_cast<void*>(&fakeInflate);
        if (n == "inflateEnd") return reinterpret_cast<void*>(&fakeEnd);
        return nullptr;
    }
    int32_t FreeLibrary(void* m) override {
        calls.push_back(std::string("FreeLibrary") + (m == &module ? "" : " other!"));
        return !unloadFails;
    }
};

class Inflate : public ::testing::Test {
protected:
    void SetUp() override {
        zlib = FakeZlib{};
        obj = GetQLObject(nullptr);
    }
    void TearDown() override {
        if (obj) QLDestroy(obj);
    }
    ql::QLState& state() { return *static_cast<ql::QLCommon*>(obj)->state(); }

    qltest::ScopedFakeFolders folders;
    FakeLoader loader;
    qltest::ScopedPlatform<ql::LibraryLoader> installed{ql::setLibraryLoader, &loader};
    ICommon* obj = nullptr;
    const uint8_t in[4] = {0x78, 0x9C, 1, 2};
};

TEST_F(Inflate, WholeBlockAndTheCallsItMakes) {
    ASSERT_TRUE(obj->InflateBegin(in, 4, 1));
    EXPECT_THAT(loader.calls, ElementsAre("LoadLibraryExW P:\\Programs\\Tamarisk Works\\Cache" +
                                              ql::toUtf8(ql::kZlibFileName) + " flags 8",
                                          "GetProcAddress inflateInit_"));
    EXPECT_THAT(zlib.calls, ElementsAre("inflateInit_ 1.3.1 " + std::to_string(sizeof(ql::ZStreamRecord)) + " in 4"));
    char out[64];
    uint32_t produced = 99;
    EXPECT_TRUE(obj->InflateBlock(in, 4, out, sizeof out, &produced, 1));
    EXPECT_EQ(produced, zlib.output.size());
    EXPECT_EQ(std::string(out, produced), zlib.output);
    obj->InflateFinish(1);
    EXPECT_EQ(zlib.calls.back(), "inflateEnd");

    // A second block: nothing loaded or fetched again, the record reused.
    void* recordBefore = state().zStream;
    loader.calls.clear();
    ASSERT_TRUE(obj->InflateBegin(in, 4, 1));
    EXPECT_TRUE(obj->InflateBlock(in, 4, out, sizeof out, &produced, 1));
    obj->InflateFinish(1);
    EXPECT_THAT(loader.calls, ElementsAre());
    EXPECT_EQ(state().zStream, recordBefore);

    QLDestroy(obj);
    obj = nullptr;
    EXPECT_THAT(loader.calls, ElementsAre("FreeLibrary"));
}

TEST_F(Inflate, ArgumentsAndKinds) {
    uint32_t produced = 77;
    char out[8];
    EXPECT_FALSE(obj->InflateBlock(in, 4, out, 8, &produced, 1));  // before any start
    EXPECT_EQ(produced, 0u);
    produced = 77;
    EXPECT_FALSE(obj->InflateBlock(in, 0, out, 8, &produced, 1));  // not positive: untouched
    EXPECT_FALSE(obj->InflateBlock(nullptr, 4, out, 8, &produced, 1));
    EXPECT_FALSE(obj->InflateBlock(in, 4, nullptr, 8, &produced, 1));
    EXPECT_EQ(produced, 77u);
    EXPECT_FALSE(obj->InflateBlock(in, 4, out, 8, nullptr, 1));

    EXPECT_FALSE(obj->InflateBegin(in, 4, 2));  // kind 2: nothing at all
    obj->InflateFinish(2);
    EXPECT_TRUE(loader.calls.empty());
    ASSERT_TRUE(obj->InflateBegin(in, 4, 1));
    EXPECT_FALSE(obj->InflateBlock(in, 4, out, 8, &produced, 2));
    EXPECT_EQ(produced, 0u);
    obj->InflateFinish(2);
    EXPECT_EQ(zlib.calls.size(), 1u);  // only the start
    obj->InflateFinish(1);

    auto* impl = static_cast<ql::QLCommon*>(obj);
    ql::QLState* s = impl->state();
    impl->setState(nullptr);
    EXPECT_FALSE(obj->InflateBegin(in, 4, 1));
    EXPECT_FALSE(obj->InflateBlock(in, 4, out, 8, &produced, 1));
    obj->InflateFinish(1);
    impl->setState(s);
}

TEST_F(Inflate, MissingFileIsRetriedEveryTime) {
    loader.fileThere = false;
    EXPECT_FALSE(obj->InflateBegin(in, 4, 1));
    EXPECT_FALSE(obj->InflateBegin(in, 4, 1));
    EXPECT_EQ(loader.calls.size(), 2u);
    EXPECT_EQ(state().zlibModule, nullptr);
    EXPECT_EQ(state().zStream, nullptr);
    obj->InflateFinish(1);  // nothing loaded: nothing fetched
    EXPECT_EQ(loader.calls.size(), 2u);
    loader.fileThere = true;
    EXPECT_TRUE(obj->InflateBegin(in, 4, 1));

    folders.fake.bases.clear();  // no cache folder: no load attempted at all
    ICommon* other = GetQLObject(nullptr);
    loader.calls.clear();
    EXPECT_FALSE(other->InflateBegin(in, 4, 1));
    EXPECT_TRUE(loader.calls.empty());
    QLDestroy(other);
}

TEST_F(Inflate, MissingEntryPointsAreLookedUpAgain) {
    loader.missing = {"inflateInit_", "inflate", "inflateEnd"};
    EXPECT_FALSE(obj->InflateBegin(in, 4, 1));
    EXPECT_FALSE(obj->InflateBegin(in, 4, 1));
    EXPECT_EQ(std::count(loader.calls.begin(), loader.calls.end(), "GetProcAddress inflateInit_"), 2);
    EXPECT_EQ(std::count(loader.calls.begin(), loader.calls.end(), "LoadLibraryExW P:\\Programs\\Tamarisk Works\\Cache" +
                                                                       ql::toUtf8(ql::kZlibFileName) + " flags 8"),
              1);  // the library stays loaded
    loader.missing.erase("inflateInit_");
    ASSERT_TRUE(obj->InflateBegin(in, 4, 1));
    uint32_t produced = 5;
    char out[64];
    EXPECT_FALSE(obj->InflateBlock(in, 4, out, 64, &produced, 1));
    EXPECT_EQ(produced, 0u);
    obj->InflateFinish(1);
    loader.missing.clear();
    EXPECT_TRUE(obj->InflateBlock(in, 4, out, 64, &produced, 1));
    obj->InflateFinish(1);
    EXPECT_EQ(zlib.calls.back(), "inflateEnd");
    EXPECT_EQ(std::count(loader.calls.begin(), loader.calls.end(), "GetProcAddress inflateEnd"), 2);
}

TEST_F(Inflate, FailedStartAndFailedUnload) {
    zlib.initResult = -6;  // Z_VERSION_ERROR
    EXPECT_FALSE(obj->InflateBegin(in, 4, 1));
    EXPECT_NE(state().zStream, nullptr);  // allocated once, kept
    loader.unloadFails = true;
    void* module = state().zlibModule;
    ql::releaseZlibModule(state());
    EXPECT_EQ(state().zlibModule, module);  // kept when unloading fails
    loader.unloadFails = false;
    ql::releaseZlibModule(state());
    EXPECT_EQ(state().zlibModule, nullptr);
    ql::releaseZStream(state());
    EXPECT_EQ(state().zStream, nullptr);
    EXPECT_EQ(std::count(zlib.calls.begin(), zlib.calls.end(), "inflateEnd"), 0);
}

TEST(CopyLine, StopsAfterLineFeedOrAtTheSmallerLimit) {
    ICommon* obj = GetQLObject(nullptr);
    const uint8_t src[] = {'a', 'b', 10, 'x'};
    uint8_t dest[10];
    std::memset(dest, 0xEE, sizeof dest);
    EXPECT_EQ(obj->CopyLine(src, 4, dest, 10), 3u);
    EXPECT_EQ(std::memcmp(dest, src, 3), 0);
    EXPECT_EQ(dest[3], 0xEE);  // no terminator
    EXPECT_EQ(obj->CopyLine(src, 4, dest, 2), 2u);
    EXPECT_EQ(obj->CopyLine(src + 3, 1, dest, 10), 1u);  // no line feed: up to the source length
    EXPECT_EQ(obj->CopyLine(src, 0, dest, 10), 0u);
    EXPECT_EQ(obj->CopyLine(src, -1, dest, 10), 0u);
    EXPECT_EQ(obj->CopyLine(nullptr, 4, dest, 10), 0u);
    EXPECT_EQ(obj->CopyLine(src, 4, nullptr, 10), 0u);
    EXPECT_EQ(obj->CopyLine(src, 4, dest, 0), 0u);
    QLDestroy(obj);
}

#ifndef _WIN32
// The system's zlib, loaded by the real loader from a cache folder below a
// scratch "program files" folder.
TEST(InflateNative, RealZlibFromTheCacheFolder) {
    const char* system = "/usr/lib/x86_64-linux-gnu/libz.so.1";
    if (access(system, R_OK) != 0) GTEST_SKIP() << "no system zlib";
    const std::string root = "/tmp/ql-inflate-" + std::to_string(getpid());
    mkdir(root.c_str(), 0777);
    mkdir((root + "/Tamarisk Works").c_str(), 0777);
    mkdir((root + "/Tamarisk Works/Cache").c_str(), 0777);
    const std::string file = root + "/Tamarisk Works/Cache/libz.so.1";
    ASSERT_EQ(symlink(system, file.c_str()), 0);

    qltest::ScopedFakeFolders folders;
    folders.fake.bases[ql::kCsidlProgramFiles] = root;
    void* z = dlopen(system, RTLD_NOW);
    using Compress = int (*)(uint8_t*, unsigned long*, const uint8_t*, unsigned long, int);
    auto compress2 = reinterpret_cast<Compress>(dlsym(z, "compress2"));
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + " of the known text\n";
    std::vector<uint8_t> packed(text.size() + 1024);
    unsigned long packedSize = packed.size();
    ASSERT_EQ(compress2(packed.data(), &packedSize, reinterpret_cast<const uint8_t*>(text.data()), text.size(), 9), 0);

    ICommon* obj = GetQLObject(nullptr);
    std::vector<char> out(text.size() + 100);
    uint32_t produced = 0;
    ASSERT_TRUE(obj->InflateBegin(packed.data(), static_cast<uint32_t>(packedSize), 1));
    EXPECT_TRUE(obj->InflateBlock(packed.data(), static_cast<int32_t>(packedSize), out.data(),
                                  static_cast<uint32_t>(out.size()), &produced, 1));
    EXPECT_EQ(std::string(out.data(), produced), text);
    obj->InflateFinish(1);
    packed[packedSize / 2] ^= 0x55;  // corrupt
    ASSERT_TRUE(obj->InflateBegin(packed.data(), static_cast<uint32_t>(packedSize), 1));
    EXPECT_FALSE(obj->InflateBlock(packed.data(), static_cast<int32_t>(packedSize), out.data(),
                                   static_cast<uint32_t>(out.size()), &produced, 1));
    obj->InflateFinish(1);
    QLDestroy(obj);
    dlclose(z);
    unlink(file.c_str());
    rmdir((root + "/Tamarisk Works/Cache").c_str());
    rmdir((root + "/Tamarisk Works").c_str());
    rmdir(root.c_str());
}
#endif

}  // namespace
