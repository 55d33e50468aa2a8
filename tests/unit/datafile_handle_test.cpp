// The system-handle back end: the exact system calls through a recording
// fake, and the real effect through the platform's own calls.
#include <gtest/gtest.h>

#include <cstring>

#include "datafile/file_api.h"
#include "datafile_test_util.h"

namespace {

using namespace dftest;

struct CreateCall {
    QLString path;
    uint32_t access, share, disposition, attributes;
    void* security;
    void* templateFile;
};

// Records every call; each answer can be set by the test.
struct RecordingFileApi final : ql::FileApi {
    std::vector<CreateCall> creates;
    std::vector<uint32_t> writes;  // bytes per WriteFile call
    std::vector<uint8_t> written;  // what the successful writes carried
    int closes = 0;
    bool failCreate = false, failWrite = false, failClose = false;
    uint32_t size = 0, error = 0;
    void* const handle = reinterpret_cast<void*>(0x4242);

    void* CreateFileW(const QLWChar* path, uint32_t access, uint32_t share, void* security, uint32_t disposition,
                      uint32_t attributes, void* templateFile) override {
        creates.push_back({path, access, share, disposition, attributes, security, templateFile});
        return failCreate ? ql::fileapi::invalidHandle() : handle;
    }
    bool WriteFile(void* h, const void* data, uint32_t count, uint32_t* n) override {
        EXPECT_EQ(h, handle);
        writes.push_back(count);
        if (failWrite) return false;
        written.insert(written.end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + count);
        *n = count;
        return true;
    }
    uint32_t GetFileSize(void* h, uint32_t* high) override {
        EXPECT_EQ(h, handle);
        EXPECT_EQ(high, nullptr);  // the high part is not asked for
        return size;
    }
    bool CloseHandle(void* h) override {
        EXPECT_EQ(h, handle);
        ++closes;
        return !failClose;
    }
    uint32_t GetLastError() override { return error; }
};

class DatafileHandle : public ::testing::Test {
protected:
    void SetUp() override { ql::setFileApi(&fake); }
    void TearDown() override { ql::setFileApi(nullptr); }
    RecordingFileApi fake;
    const QLString path = qlPath("C:\\data\\file.dat");
};

TEST_F(DatafileHandle, CreateFileValuesForEachMode) {
    Object obj;
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    obj->CloseFileHandle();
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 1));
    obj->CloseFileHandle();
    fake.size = 1234;
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeRead, 0));
    EXPECT_EQ(obj->GetByteCount(), 1234u);
    EXPECT_EQ(obj->ReadBytes(nullptr, 10), 0u);  // reading needs a stream
    EXPECT_FALSE(obj->OpenFileHandle(path.c_str(), 7, 0));  // closes, opens nothing
    EXPECT_EQ(obj.state().fileHandle, nullptr);

    ASSERT_EQ(fake.creates.size(), 3u);
    const uint32_t expected[3][2] = {{2, 2}, {4, 4}, {1, 3}};  // access, disposition
    for (int i = 0; i < 3; ++i) {
        const CreateCall& c = fake.creates[i];
        EXPECT_EQ(c.path, path);
        EXPECT_EQ(c.access, expected[i][0]);
        EXPECT_EQ(c.disposition, expected[i][1]);
        EXPECT_EQ(c.share, 0u);
        EXPECT_EQ(c.attributes, 0x80u);
        EXPECT_EQ(c.security, nullptr);
        EXPECT_EQ(c.templateFile, nullptr);
    }
    EXPECT_EQ(fake.closes, 3);
}

TEST_F(DatafileHandle, LongWriteThroughWriteBytesFlushesFullBuffers) {
    Object obj;
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    ProgressSpy spy(obj);
    const auto data = pattern(150000);
    obj->WriteBytes(data.data(), 150000);  // handed to the handle back end
    EXPECT_EQ(obj->GetByteCount(), 150000u);
    EXPECT_EQ(fake.writes, (std::vector<uint32_t>{65536, 65536}));
    obj->CloseFile();  // handed over too: the final write and the close
    EXPECT_EQ(fake.writes, (std::vector<uint32_t>{65536, 65536, 18928}));
    EXPECT_EQ(fake.written, data);
    EXPECT_EQ(spy.positions, (std::vector<int32_t>{0, 65536, 131072, 150000}));
    EXPECT_EQ(fake.closes, 1);
    EXPECT_EQ(obj.state().ioBuffer, nullptr);
    EXPECT_EQ(obj.state().openMode, 0u);
}

// The calls WriteBytes and CloseFile hand over land on slots 55 and 58.
std::vector<int> handedOver;
dftest::TableCopy* watched = nullptr;
void watchWriteBytesHandle(ICommon* self, const void* data, uint32_t count) {
    handedOver.push_back(55);
    watched->original<void(ICommon*, const void*, uint32_t)>(55)(self, data, count);
}
void watchCloseFileHandle(ICommon* self) {
    handedOver.push_back(58);
    watched->original<void(ICommon*)>(58)(self);
}

TEST_F(DatafileHandle, WriteBytesAndCloseFileHandOverThroughTheTable) {
    Object obj;
    TableCopy table(obj.get());
    watched = &table;
    table.replace(55, &watchWriteBytesHandle);
    table.replace(58, &watchCloseFileHandle);
    handedOver.clear();
    obj->WriteBytes("ab", 2);  // no file: counted here, not handed over
    EXPECT_TRUE(handedOver.empty());
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    obj->WriteBytes("abc", 3);
    obj->CloseFile();
    EXPECT_EQ(handedOver, (std::vector<int>{55, 58}));
    EXPECT_EQ(fake.written, (std::vector<uint8_t>{'a', 'b', 'c'}));
    watched = nullptr;
}

TEST_F(DatafileHandle, FailedOpenIsFinalForTheObject) {
    Object obj;
    fake.failCreate = true;
    fake.error = 2;
    EXPECT_FALSE(obj->OpenFileHandle(path.c_str(), qlModeRead, 0));
    EXPECT_EQ(obj.state().handleError, 2u);
    EXPECT_EQ(obj.state().streamError, 0);  // the message table never sees it
    fake.failCreate = false;
    EXPECT_FALSE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    EXPECT_EQ(fake.creates.size(), 1u);  // not even tried again
    EXPECT_EQ(obj.state().ioBuffer, nullptr);

    Object quiet;  // a failure without a code is still remembered
    fake.failCreate = true;
    fake.error = 0;
    EXPECT_FALSE(quiet->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    EXPECT_NE(quiet.state().handleError, 0u);
    Object nullPath;
    EXPECT_FALSE(nullPath->OpenFileHandle(nullptr, qlModeWrite, 0));
    EXPECT_EQ(nullPath.state().handleError, 87u);

    Object badSize;  // a size the system could not tell
    fake.failCreate = false;
    fake.size = 0xFFFFFFFFu;
    fake.error = 6;
    EXPECT_FALSE(badSize->OpenFileHandle(path.c_str(), qlModeRead, 0));
    EXPECT_EQ(badSize.state().handleError, 6u);
    EXPECT_NE(badSize.state().fileHandle, nullptr);  // the close clears it
    badSize->CloseFile();
    EXPECT_EQ(badSize.state().handleError, 0u);
}

TEST_F(DatafileHandle, FailedWriteEndsTheCallAndTheCloseForgetsIt) {
    Object obj;
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    fake.failWrite = true;
    fake.error = 112;
    const auto data = pattern(100000);
    obj->WriteBytesHandle(data.data(), 100000);
    const ql::QLState& s = obj.state();
    EXPECT_EQ(s.handleError, 112u);
    EXPECT_EQ(obj->GetByteCount(), 65536u);  // what did not fit is dropped
    EXPECT_EQ(s.bufferPos, 65536u);
    EXPECT_EQ(s.bufferAvail, 0u);
    // The waiting bytes stay for the next attempt.
    fake.failWrite = false;
    obj->WriteBytesHandle(data.data() + 65536, 10);
    EXPECT_EQ(fake.writes, (std::vector<uint32_t>{65536, 65536}));
    EXPECT_EQ(s.bufferPos, 10u);
    fake.failWrite = true;
    obj->CloseFileHandle();
    EXPECT_EQ(s.handleError, 0u);
    fake.failClose = true;  // a failed close is kept; the field is cleared
    Object other;
    ASSERT_TRUE(other->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    other->CloseFileHandle();
    EXPECT_EQ(other.state().handleError, 112u);
    EXPECT_EQ(other.state().fileHandle, nullptr);
}

TEST_F(DatafileHandle, DestroyerClosesWithoutWriting) {
    Object obj;
    ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0));
    obj->WriteBytes("abc", 3);
    obj.destroy();
    EXPECT_TRUE(fake.writes.empty());
    EXPECT_EQ(fake.closes, 1);
}

// The native build's own calls: real files.
TEST(DatafileHandleFiles, WriteAppendAndLength) {
    ScratchDir dir("handle");
    const auto path = dir.file("ïñ-ハンドル.dat");
    writeAll(path, bytesOf("old content"));
    const QLString p = qlPath(path);
    {
        Object obj;
        ASSERT_TRUE(obj->OpenFileHandle(p.c_str(), qlModeWrite, 0));
        const auto data = pattern(100);
        obj->WriteBytes(data.data(), 100);
        EXPECT_EQ(obj->GetByteCount(), 100u);
        obj->CloseFile();
        EXPECT_EQ(readAll(path), data);
        ASSERT_TRUE(obj->OpenFileHandle(p.c_str(), qlModeWrite, 1));
        obj->WriteBytes("tail", 4);
        obj->CloseFile();
        EXPECT_EQ(readAll(path).size(), 104u);
        ASSERT_TRUE(obj->OpenFileHandle(p.c_str(), qlModeRead, 0));
        EXPECT_EQ(obj->GetByteCount(), 104u);
        obj->CloseFileHandle();
    }
    Object missing;
    EXPECT_FALSE(missing->OpenFileHandle(qlPath(dir.file("none.dat")).c_str(), qlModeRead, 0));
    EXPECT_EQ(missing.state().handleError, 2u);
    EXPECT_FALSE(missing->OpenFileHandle(p.c_str(), qlModeRead, 0));
}

#ifndef _WIN32
TEST(DatafileHandleFiles, DiskFullEndsTheWrite) {
    Object obj;
    ASSERT_TRUE(obj->OpenFileHandle(qlPath("/dev/full").c_str(), qlModeWrite, 0));
    const auto data = pattern(200000);
    obj->WriteBytes(data.data(), 200000);
    EXPECT_EQ(obj.state().handleError, 112u);  // ERROR_DISK_FULL
    EXPECT_EQ(obj->GetByteCount(), 65536u);
    obj->CloseFile();
}
#endif

}  // namespace
