// Objects over their lives: the element array in its reserved memory as it grows, and objects made and
// destroyed for about ten seconds with files, zlib, elements, folders and a progress window, which must leave
// no handle, window or memory behind.  QL_TEST_NEEDS_DISPLAY QL_TEST_CHANGES_HOST_TREE
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

#include "folders_files.h"
#include "hostkit/dialogs.h"

namespace {

// Per element size: the elements that hold the first and the last byte of each 65536-byte growth step keep the
// address they had right after their push, and read back whole as pushed.
TEST(Lifecycle, ElementsStayPutAndKeepTheirBytesAsTheArrayGrows) {
    const struct { int32_t size, pushes; std::vector<int32_t> edges; } rows[] = {
        {4, 65536, {0, 16383, 16384, 32767, 32768, 49151, 49152, 65535}},
        {1000, 263, {0, 65, 131, 196, 262}},
        {65536, 4, {0, 1, 2, 3}},
    };
    std::vector<unsigned char> element(65536), back(65536);
    for (const auto& r : rows) {
        hostkit::Object o;
        std::map<int32_t, void*> pushedAt;
        o->BeginElements(r.size);
        for (int32_t i = 0; i < r.pushes; ++i) {
            std::memcpy(element.data(), &i, 4);
            o->PushElement(element.data());
            if (std::count(r.edges.begin(), r.edges.end(), i)) o->GetElementPointer(i, &pushedAt[i]);
        }
        for (const auto& [i, pushed] : pushedAt) {
            void* at = nullptr;
            ASSERT_TRUE(o->GetElementPointer(i, &at)) << "size " << r.size << " element " << i;
            EXPECT_EQ(at, pushed) << "size " << r.size << " element " << i << " moved";
            ASSERT_TRUE(o->CopyElement(i, back.data()));
            EXPECT_EQ(std::memcmp(back.data(), &i, 4), 0) << "size " << r.size << " element " << i << " as pushed";
        }
    }
}

// What a leak raises: private memory committed or reserved, bytes in use in the heaps, the thread's windows, and
// the highest of 256 new handles (Wine counts no handles and gives a new one the place the last closed one left).
struct Usage {
    size_t memory = 0, heap = 0;
    uintptr_t handle = 0;
    int windows = 0;
};
Usage usage() {
    Usage u;
    MEMORY_BASIC_INFORMATION m{};
    for (char* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m; p = static_cast<char*>(m.BaseAddress)) {
        if (m.State != MEM_FREE && m.Type == MEM_PRIVATE) u.memory += m.RegionSize;
        m.BaseAddress = static_cast<char*>(m.BaseAddress) + m.RegionSize;
    }
    HANDLE heaps[64];
    for (DWORD i = 0, n = GetProcessHeaps(64, heaps); i < n && i < 64; ++i)
        for (PROCESS_HEAP_ENTRY e{}; HeapWalk(heaps[i], &e);)
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) u.heap += e.cbData;
    HANDLE events[256];  // more than the holes closed handles leave: the last lies past every handle in use
    for (HANDLE& e : events) {
        e = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        u.handle = std::max(u.handle, reinterpret_cast<uintptr_t>(e));
    }
    for (HANDLE e : events) CloseHandle(e);
    const auto count = [](HWND, LPARAM p) -> BOOL {
        ++reinterpret_cast<Usage*>(p)->windows;
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), count, reinterpret_cast<LPARAM>(&u));
    return u;
}

TEST(Lifecycle, ObjectsLeaveNoHandleWindowOrMemoryBehind) {
    const hostkit::HostWindow host(L"Soak host");
    const std::wstring zlib = qltest::cacheZlib(qltest::kRealZlib);
    const std::vector<char> bytes(70000, 's');  // one buffer goes out, the rest waits
    const std::wstring file = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\ql soak ";
    const auto size = [](const std::wstring& path) {
        std::ifstream in(path.c_str(), std::ios::binary | std::ios::ate);
        return std::to_string(static_cast<int64_t>(in.tellg()));
    };
    // Each life has files of its own, so that a handle left open cannot stop the next life from opening one.
    const auto life = [&](int n) {
        const std::wstring stream = file + std::to_wstring(n) + L".a", handle = file + std::to_wstring(n) + L".b";
        char out[8] = {};
        uint32_t produced = 0;
        {
            hostkit::Object a, b;
            wchar_t text[512];
            a->OpenFile(stream.c_str(), qlModeWrite, 0);
            a->WriteBytes(bytes.data(), 70000);
            a->InflateBegin(qltest::kSoak, sizeof qltest::kSoak, 1);
            a->InflateBlock(qltest::kSoak, sizeof qltest::kSoak, out, 8, &produced, 1);
            a->InflateFinish(1);
            a->BeginElements(4);
            for (int i = 0; i < 20000; ++i) a->PushElement(&i);
            b->OpenFileHandle(handle.c_str(), qlModeWrite, 0);
            b->WriteBytes(bytes.data(), 70000);
            b->GetJobFilePath(text, 512);
            b->BeginProgress(host.get(), GetModuleHandleW(nullptr), 100);
            b->WarnMissingResource(L"Script", 9);  // recorded, no box
        }
        const std::string seen = std::string(out, produced) + " " + size(stream) + " " + size(handle);
        DeleteFileW(stream.c_str());
        DeleteFileW(handle.c_str());
        return seen;
    };
    ASSERT_EQ(life(0), "soak 65536 65536");  // the destroyer drops the bytes still waiting
    const Usage before = usage();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(9);
    for (int n = 1; std::chrono::steady_clock::now() < end; ++n) life(n);
    const Usage after = usage();
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_LE(after.handle, before.handle + 16);
    EXPECT_LE(after.memory, before.memory + 262144);
    EXPECT_LE(after.heap, before.heap + 16384);
    DeleteFileW(zlib.c_str());
}

}  // namespace
