// The data file as a host sees it under Windows: the handle back end on real
// files, with a disk that refuses a write part way and a full disk, and what
// only the Windows runtime decides for the stream back end.
// QL_TEST_LINKS_LIBRARY: the disk faults go through the library's table of
// system calls; the object still comes from GetQLObject and is called only
// through its interface table.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/system_calls.h"
#include "qlcommon.h"

namespace {

using Bytes = std::vector<char>;
using Object = std::unique_ptr<ICommon, void (*)(ICommon*)>;
Object make() { return Object(GetQLObject(nullptr), QLDestroy); }

// A scratch path of this run (the process id in its name).
std::wstring scratch(const wchar_t* name) {
    wchar_t tmp[MAX_PATH];
    return std::wstring(tmp, GetTempPathW(MAX_PATH, tmp)) + L"ql-datafile-" + std::to_wstring(GetCurrentProcessId()) + L"-\u00e9\u6587" + name;
}

Bytes content(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The disk: it takes `room` bytes, then refuses the write that does not fit
// (keeping what fitted); a disk that recovers has room again afterwards.
DWORD room;
bool recovers;
BOOL WINAPI diskWrite(HANDLE h, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED) {
    const DWORD take = std::min(count, room);
    room -= take;
    WriteFile(h, data, take, written, nullptr);
    if (take == count) return TRUE;
    room = recovers ? ~DWORD{0} : 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
BOOL WINAPI failingClose(HANDLE h) {
    CloseHandle(h);
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

TEST(DatafileHandle, WritesReachTheFileOnlyOnceWhateverTheDiskDoes) {
    const struct { const char* name; DWORD room; bool recovers; std::vector<uint32_t> writes; uint32_t count, kept; } cases[] = {
        {"healthy", ~DWORD{0}, true, {100}, 100, 100},
        {"long write", ~DWORD{0}, true, {150000}, 150000, 150000},
        {"refused part way, then room again", 32768, true, {150000}, 98304, 98304},
        {"full part way", 100000, false, {150000}, 150000, 100000},
        {"full from the start", 0, false, {150000, 10}, 65536, 0},
    };
    Bytes data(150010);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 131 + (i >> 8));
    const std::wstring path = scratch(L"handle.dat");
    ql::overrideSystemCall("WriteFile", &diskWrite);
    for (const auto& c : cases) {
        room = c.room;
        recovers = c.recovers;
        Object obj = make();
        ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0)) << c.name;
        uint32_t at = 0;
        for (uint32_t n : c.writes) {
            obj->WriteBytes(data.data() + at, n);
            at += n;
        }
        EXPECT_EQ(obj->GetByteCount(), c.count) << c.name;
        obj->CloseFile();
        EXPECT_TRUE(content(path) == Bytes(data.begin(), data.begin() + c.kept)) << c.name << ": not the first " << c.kept << " bytes";
        room = ~DWORD{0};
        ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeRead, 0)) << c.name << ": a close forgets the failure";
        EXPECT_EQ(obj->GetByteCount(), c.kept) << c.name;
        EXPECT_EQ(obj->ReadBytes(data.data(), 1), 0u) << c.name << ": reading needs the stream";
    }
    ql::restoreSystemCalls();
    DeleteFileW(path.c_str());
}

TEST(DatafileHandle, OpensAppendsFailuresAndTheDestroyer) {
    const std::wstring path = scratch(L"open.dat"), other = scratch(L"stream.dat"), missing = scratch(L"missing");
    Object obj = make();
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    obj->WriteBytes("old", 3);
    obj->CloseFile();
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 1));
    obj->WriteBytesHandle("new", 3);
    obj->CloseFileHandle();
    EXPECT_EQ(content(path), (Bytes{'o', 'l', 'd', 'n', 'e', 'w'})) << "the handle back end appends";
    ql::overrideSystemCall("CloseHandle", &failingClose);
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeRead, 0));
    obj->CloseFile();
    ql::restoreSystemCalls();
    EXPECT_FALSE(obj->OpenFileHandle(path.c_str(), qlModeRead, 0)) << "a failed close is remembered";
    // A failed open is final for its object; the runtime's number gives the text.
    for (const std::wstring& bad : {missing, std::wstring(L"C:\\windows")}) {
        Object fresh = make();
        wchar_t text[72] = L"";
        EXPECT_FALSE(fresh->OpenFileHandle(bad.c_str(), qlModeRead, 0) || fresh->OpenFileHandle(path.c_str(), qlModeRead, 0));
        EXPECT_FALSE(fresh->OpenFile(bad.c_str(), qlModeRead, 0) || fresh->OpenFile(path.c_str(), qlModeRead, 0));
        fresh->GetLastErrorText(text, 72);
        EXPECT_STREQ(text, bad == missing ? L"No such file or directory" : L"Permission denied");
    }
    // A wide path beyond ASCII; the destroyer drops the waiting bytes of both back ends.
    Object both = make();
    EXPECT_TRUE(both->OpenFile(other.c_str(), qlModeWrite, 0));
    both->WriteBytes("abc", 3);
    EXPECT_TRUE(both->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    both->WriteBytes("xyz", 3);
    both.reset();
    EXPECT_TRUE(content(other).empty() && content(path).empty());
    for (const auto& p : {path, other}) DeleteFileW(p.c_str());
}

}  // namespace
