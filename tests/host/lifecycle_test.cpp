// Objects over their lives: the element array in its reserved memory as it grows, and objects made and
// destroyed for about ten seconds with files, zlib, elements, folders and a progress window, which must leave
// no handle, window or memory behind.  QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "folders_files.h"
#include "hostkit/dialogs.h"

namespace {

const qltest::HostTreeLock hostTreeLock;

// Per element size: the elements pushed, and those that hold the first and the last byte of a 65536-byte step.
TEST(Lifecycle, ElementsStayPutAndKeepTheirBytesAsTheArrayGrows) {
    const struct { int32_t size, pushes; std::vector<int32_t> edges; } rows[] = {
        {4, 65536, {0, 16383, 16384, 32767, 32768, 49151, 49152, 65535}},
        {1000, 263, {0, 65, 131, 196, 262}},
        {65536, 4, {0, 1, 2, 3}},
    };
    std::vector<unsigned char> element(65536), back(65536);
    for (const auto& r : rows) {
        hostkit::Object o;
        void *first = nullptr, *at = nullptr;
        o->BeginElements(r.size);
        for (int32_t i = 0; i < r.pushes; ++i) {
            std::memcpy(element.data(), &i, 4);
            o->PushElement(element.data());
            if (i == 0) o->GetElementPointer(0, &first);
        }
        for (int32_t i : r.edges) {
            ASSERT_TRUE(o->GetElementPointer(i, &at)) << "size " << r.size << " element " << i;
            EXPECT_EQ(static_cast<char*>(at) - static_cast<char*>(first), int64_t{i} * r.size) << "moved";
            ASSERT_TRUE(o->CopyElement(i, back.data()));
            EXPECT_EQ(std::memcmp(back.data(), &i, 4), 0) << "size " << r.size << " element " << i << " as pushed";
            std::memset(at, 0x5A, static_cast<size_t>(r.size));
            ASSERT_TRUE(o->CopyElement(i, back.data()));
            EXPECT_EQ(back[static_cast<size_t>(r.size) - 1], 0x5A) << "size " << r.size << " element " << i;
        }
    }
}

// Committed private memory, from a walk over the address space; the bytes in use in the process's heaps; the
// value of a new handle, which stops rising when none leaks (Wine counts no handles); the thread's windows.
size_t privateBytes() {
    size_t sum = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (char* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m; p = static_cast<char*>(m.BaseAddress)) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) sum += m.RegionSize;
        m.BaseAddress = static_cast<char*>(m.BaseAddress) + m.RegionSize;
    }
    return sum;
}
size_t heapBytes() {
    HANDLE heaps[64];
    const DWORD n = GetProcessHeaps(64, heaps);
    size_t sum = 0;
    for (DWORD i = 0; i < n && i < 64; ++i)
        for (PROCESS_HEAP_ENTRY e{}; HeapWalk(heaps[i], &e);)
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) sum += e.cbData;
    return sum;
}
uintptr_t nextHandle() {
    const HANDLE h = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(h);
    return reinterpret_cast<uintptr_t>(h);
}
int windows() {
    int n = 0;
    const auto count = [](HWND, LPARAM p) -> BOOL {
        ++*reinterpret_cast<int*>(p);
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), count, reinterpret_cast<LPARAM>(&n));
    return n;
}

TEST(Lifecycle, ObjectsLeaveNoHandleWindowOrMemoryBehind) {
    const hostkit::HostWindow host(L"Soak host");
    const std::wstring zlib = qltest::cacheZlib(qltest::kRealZlib);
    const std::vector<char> bytes(70000, 's');  // one buffer goes out, the rest waits
    const std::wstring file = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\ql soak";
    const std::wstring stream = file + L".a", handle = file + L".b";
    // Two objects left with a file open, zlib, elements, a progress window and a warned name.
    const auto life = [&] {
        hostkit::Object a, b;
        wchar_t text[512];
        char out[8] = {};
        uint32_t produced = 0;
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
        return std::string(out, produced);
    };
    ASSERT_EQ(life(), "soak");
    const int before = windows();
    const uintptr_t handles = nextHandle();
    const size_t memory = privateBytes(), heap = heapBytes();
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(9); std::chrono::steady_clock::now() < end;)
        life();
    EXPECT_EQ(windows(), before);
    EXPECT_LE(nextHandle(), handles + 16);
    EXPECT_LE(privateBytes(), memory + 262144);
    EXPECT_LE(heapBytes(), heap + 16384);
    EXPECT_EQ(hostkit::library().release(), 0);
    for (const std::wstring& f : {stream, handle, zlib}) DeleteFileW(f.c_str());
}

}  // namespace
