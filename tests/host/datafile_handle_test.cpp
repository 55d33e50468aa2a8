// The handle back end on real files, also with a disk that takes a write only in part or fills up.
// QL_TEST_LINKS_LIBRARY: the disk faults go through the library's table of system calls.
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

// A scratch path of this run, beyond ASCII.
std::wstring scratch(const wchar_t* name) {
    wchar_t tmp[MAX_PATH];
    const std::wstring folder(tmp, GetTempPathW(MAX_PATH, tmp));
    return folder + L"ql-\u00e9\u6587-" + std::to_wstring(GetCurrentProcessId()) + name;
}

Bytes content(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The disk takes `room` bytes, then refuses the write that does not fit, keeping what fitted; a disk that
// recovers has room again afterwards.
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

// 150000 bytes written: the bytes counted, and the file after the close: the first `kept` bytes, each once.
TEST(DatafileHandle, WritesReachTheFileOnlyOnceWhateverTheDiskDoes) {
    const struct { const char* name; DWORD room; bool recovers; uint32_t count, kept; } cases[] = {
        {"refused part way, then room again", 32768, true, 98304, 98304},
        {"full part way", 100000, false, 150000, 100000},
        {"full from the start", 0, false, 65536, 0},
    };
    Bytes data(150000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 131 + (i >> 8));
    const std::wstring path = scratch(L"handle.dat");
    ql::overrideSystemCall("WriteFile", &diskWrite);
    for (const auto& c : cases) {
        room = c.room;
        recovers = c.recovers;
        Object obj = make();
        ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0)) << c.name;
        obj->WriteBytes(data.data(), 150000);
        EXPECT_EQ(obj->GetByteCount(), c.count) << c.name;
        obj->CloseFile();
        EXPECT_TRUE(content(path) == Bytes(data.begin(), data.begin() + c.kept)) << c.name;
        ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeRead, 0)) << c.name << ": a close forgets the failure";
        EXPECT_EQ(obj->GetByteCount(), c.kept) << c.name;
        EXPECT_EQ(obj->ReadBytes(data.data(), 1), 0u) << c.name << ": reading needs the stream";
    }
    ql::restoreSystemCalls();
    DeleteFileW(path.c_str());
}

TEST(DatafileHandle, OpensAndFailures) {
    const std::wstring path = scratch(L"open.dat"), missing = scratch(L"missing");
    Object obj = make();
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 1)) << "an append makes a missing file";
    EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    obj->WriteBytesHandle("new", 3);
    obj->CloseFileHandle();
    EXPECT_EQ(content(path), (Bytes{'n', 'e', 'w'}));
    ql::overrideSystemCall("CloseHandle", &failingClose);
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeRead, 0));
    obj->CloseFile();
    ql::restoreSystemCalls();
    EXPECT_FALSE(obj->OpenFileHandle(path.c_str(), qlModeRead, 0)) << "a failed close is remembered";
    // A failed open is final for its object; the runtime's number gives the text.
    const struct { std::wstring bad; const wchar_t* text; } opens[] = {
        {missing, L"No such file or directory"}, {L"C:\\windows", L"Permission denied"}};
    for (const auto& r : opens) {
        Object fresh = make();
        wchar_t text[72] = L"";
        EXPECT_FALSE(fresh->OpenFileHandle(r.bad.c_str(), qlModeRead, 0));
        EXPECT_FALSE(fresh->OpenFileHandle(path.c_str(), qlModeRead, 0)) << "after a failed open";
        EXPECT_FALSE(fresh->OpenFile(r.bad.c_str(), qlModeRead, 0));
        fresh->GetLastErrorText(text, 72);
        EXPECT_STREQ(text, r.text);
    }
    DeleteFileW(path.c_str());
}

}  // namespace
