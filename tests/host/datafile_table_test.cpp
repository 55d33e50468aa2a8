// The data file as a host sees it: both back ends through the interface
// table of the DLL, on real files, with paths beyond ASCII.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/datafile_model.h"
#include "hostkit/host.h"

namespace {

using hostkit::Object;
using Bytes = std::vector<uint8_t>;

// A scratch folder below the temporary folder, removed afterwards.
class Scratch {
public:
    Scratch() {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        dir_ = std::wstring(tmp) + L"qlcommon-datafile-\u00e9\u30c7\u30fc\u30bf";
        CreateDirectoryW(dir_.c_str(), nullptr);
    }
    ~Scratch() {
        for (const auto& f : made_) DeleteFileW(f.c_str());
        RemoveDirectoryW(dir_.c_str());
    }
    std::wstring file(const std::wstring& name) {
        made_.push_back(dir_ + L"\\" + name);
        return made_.back();
    }
    const std::wstring& dir() const { return dir_; }

private:
    std::wstring dir_;
    std::vector<std::wstring> made_;
};

Bytes readFile(const std::wstring& path) {
    Bytes out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.insert(out.end(), buf, buf + n);
    CloseHandle(h);
    return out;
}

void writeFile(const std::wstring& path, const Bytes& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    if (!bytes.empty()) WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

Bytes pattern(size_t n) {
    Bytes v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 131 + (i >> 8));
    return v;
}

std::wstring lastErrorText(Object& obj) {
    wchar_t text[72] = L"unchanged";
    obj->GetLastErrorText(text, 72);
    return text;
}

TEST(DatafileTable, LibraryLoads) { ASSERT_TRUE(hostkit::library().loaded()); }

TEST(DatafileTable, BothBackEndsWriteAndAppendNonAsciiPaths) {
    Scratch dir;
    for (bool handle : {false, true}) {
        SCOPED_TRACE(handle ? "handle" : "stream");
        const std::wstring path = dir.file(handle ? L"h\u00e4ndle-\u6587\u4ef6.dat" : L"str\u00eb\u00e4m-\U0001F600.dat");
        Object obj;
        auto open = [&](uint32_t mode, bool append) {
            return handle ? obj->OpenFileHandle(path.c_str(), mode, append) : obj->OpenFile(path.c_str(), mode, append);
        };
        ASSERT_TRUE(open(qlModeWrite, false));
        const Bytes first = pattern(100);
        obj->WriteBytes(first.data(), 100);
        EXPECT_EQ(obj->GetByteCount(), 100u);
        obj->CloseFile();
        EXPECT_EQ(readFile(path), first);

        ASSERT_TRUE(open(qlModeWrite, true));
        EXPECT_EQ(obj->GetByteCount(), 0u);
        obj->WriteBytes("tail", 4);
        obj->CloseFile();
        Bytes both = first;
        both.insert(both.end(), {'t', 'a', 'i', 'l'});
        EXPECT_EQ(readFile(path), both);

        ASSERT_TRUE(open(qlModeWrite, false));  // without append: only the new bytes
        obj->WriteBytes("new", 3);
        obj->CloseFile();
        EXPECT_EQ(readFile(path), (Bytes{'n', 'e', 'w'}));

        ASSERT_TRUE(open(qlModeRead, false));
        EXPECT_EQ(obj->GetByteCount(), 3u);
        char buf[4] = {};
        EXPECT_EQ(obj->ReadBytes(buf, 3), handle ? 0u : 3u);  // reading needs the stream
        obj->CloseFile();
    }
}

TEST(DatafileTable, LongHandleWriteReachesTheFileInOrder) {
    Scratch dir;
    const std::wstring path = dir.file(L"long.dat");
    Object obj;
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, false));
    const Bytes data = pattern(150000);
    obj->WriteBytesHandle(data.data(), 150000);
    EXPECT_EQ(obj->GetByteCount(), 150000u);
    obj->CloseFileHandle();
    EXPECT_EQ(readFile(path), data);
}

TEST(DatafileTable, HandleIsOpenedWithoutSharing) {
    Scratch dir;
    const std::wstring path = dir.file(L"shared.dat");
    Object obj;
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, false));
    HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    obj->CloseFile();
}

TEST(DatafileTable, FailedOpensStayFailed) {
    Scratch dir;
    const std::wstring there = dir.file(L"there.dat");
    writeFile(there, {'a', 'b', 'c', '\r', '\n', 'x'});
    {
        Object obj;
        EXPECT_FALSE(obj->OpenFile(dir.file(L"missing.dat").c_str(), qlModeRead, false));
        EXPECT_EQ(lastErrorText(obj), L"No such file or directory");
        EXPECT_FALSE(obj->OpenFile(there.c_str(), qlModeRead, false));
    }
    {
        Object obj;
        EXPECT_FALSE(obj->OpenFileHandle(dir.file(L"missing.dat").c_str(), qlModeRead, false));
        EXPECT_FALSE(obj->OpenFileHandle(there.c_str(), qlModeRead, false));
        EXPECT_EQ(lastErrorText(obj), L"unchanged");  // the handle's codes have no text
        EXPECT_TRUE(obj->OpenFile(there.c_str(), qlModeRead, false));  // the stream is another matter
    }
    {
        Object obj;
        EXPECT_FALSE(obj->OpenFile(dir.dir().c_str(), qlModeRead, false));
        EXPECT_EQ(lastErrorText(obj), L"Permission denied");
    }
    Object fresh;
    ASSERT_TRUE(fresh->OpenFile(there.c_str(), qlModeRead, false));
    char line[8];
    EXPECT_EQ(fresh->ReadLine(line, sizeof line), 5u);
    EXPECT_STREQ(line, "abc");
    EXPECT_EQ(fresh->ReadLine(line, sizeof line), 1u);
    EXPECT_STREQ(line, "x");
    EXPECT_EQ(fresh->ReadLine(line, sizeof line), 0u);
}

TEST(DatafileTable, DestroyingDropsWaitingBytes) {
    Scratch dir;
    const std::wstring a = dir.file(L"a.dat"), b = dir.file(L"b.dat");
    {
        Object stream, handle;
        ASSERT_TRUE(stream->OpenFile(a.c_str(), qlModeWrite, false));
        ASSERT_TRUE(handle->OpenFileHandle(b.c_str(), qlModeWrite, false));
        stream->WriteBytes("abc", 3);
        handle->WriteBytes("abc", 3);
    }
    EXPECT_TRUE(readFile(a).empty());
    EXPECT_TRUE(readFile(b).empty());
}

TEST(DatafileTable, RandomWritesReadBackLikeTheModel) {
    Scratch dir;
    const std::wstring path = dir.file(L"pr\u00f8perty.dat");
    for (uint32_t seed = 1001; seed <= 1012; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Object obj;
        dfmodel::Sequence(obj.get(), seed).run(path, [&](const Bytes& b) { writeFile(path, b); }, 60);
        if (HasFailure()) return;
    }
}

}  // namespace
