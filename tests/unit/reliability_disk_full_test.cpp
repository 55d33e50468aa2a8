// Writing while the disk fills: nothing the data file accepted is lost,
// doubled or reordered, and no write call hangs.  Natively the full disk is
// a file size limit (RLIMIT_FSIZE with SIGXFSZ ignored, so writes past it
// fail with EFBIG) or /dev/full; in every build also a disk of a fixed size
// behind the handle back end's seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "datafile/file_api.h"
#include "datafile_test_util.h"
#include "object/qlcommon_impl.h"

#if defined(__linux__)
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

using dftest::Object;
using dftest::QLString;

constexpr uint32_t kLimit = 100000;  // not a multiple of the 65536-byte buffer
constexpr uint32_t kOffered = 300000;

// Writes `data` in calls of varied sizes and returns the bytes each call
// accepted (by the growth of GetByteCount), in order: the bytes the data
// file promises to keep.
std::vector<uint8_t> writeInPieces(ICommon* obj, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> accepted;
    uint32_t at = 0;
    for (uint32_t piece = 1000; at < data.size(); piece = piece * 7 % 70001 + 500) {
        const uint32_t n = std::min<uint32_t>(piece, static_cast<uint32_t>(data.size()) - at);
        const uint32_t before = obj->GetByteCount();
        obj->WriteBytes(data.data() + at, n);
        const uint32_t took = obj->GetByteCount() - before;
        EXPECT_LE(took, n);
        accepted.insert(accepted.end(), data.begin() + at, data.begin() + at + std::min(took, n));
        at += n;
    }
    return accepted;
}

std::vector<uint8_t> head(const std::vector<uint8_t>& v, size_t n) {
    return {v.begin(), v.begin() + static_cast<std::ptrdiff_t>(std::min(n, v.size()))};
}

// A disk of `room` bytes behind the seam: a write takes what fits and, when
// that is not all, fails with ERROR_DISK_FULL after taking it.
struct SmallDisk final : ql::FileApi {
    std::vector<uint8_t> bytes;
    size_t room;
    void* const handle = reinterpret_cast<void*>(0x5150);

    explicit SmallDisk(size_t size) : room(size) { ql::setFileApi(this); }
    ~SmallDisk() { ql::setFileApi(nullptr); }
    void* CreateFileW(const QLWChar*, uint32_t, uint32_t, void*, uint32_t, uint32_t, void*) override {
        return handle;
    }
    bool WriteFile(void*, const void* data, uint32_t count, uint32_t* written) override {
        const auto* p = static_cast<const uint8_t*>(data);
        const uint32_t n = static_cast<uint32_t>(std::min<size_t>(count, room - bytes.size()));
        bytes.insert(bytes.end(), p, p + n);
        *written = n;
        return n == count;
    }
    uint32_t GetFileSize(void*, uint32_t*) override { return static_cast<uint32_t>(bytes.size()); }
    bool CloseHandle(void*) override { return true; }
    uint32_t GetLastError() override { return 112; }
};

TEST(DiskFull, HandleBackEndOnASmallDiskKeepsEveryAcceptedByteOnce) {
    const auto data = dftest::pattern(kOffered, 5);
    SmallDisk disk(kLimit);
    Object obj;
    const QLString path = dftest::qlPath("small.dat");
    ASSERT_EQ(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0), 1);
    const auto accepted = writeInPieces(obj.get(), data);
    EXPECT_EQ(obj.state().handleError, 112u);
    EXPECT_EQ(disk.bytes, head(accepted, kLimit));
    // Room again: the close writes what waits, and nothing twice.
    disk.room = kOffered;
    obj->CloseFileHandle();
    EXPECT_TRUE(disk.bytes == accepted) << disk.bytes.size() << " bytes on the disk, " << accepted.size()
                                        << " accepted";
}

#if defined(__linux__)

// The disk holds `bytes` bytes per file for the length of a scope; a stuck
// write ends the program through the alarm instead of hanging the run.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        alarm(60);
    }
    ~FullDisk() { freeSpace(); }
    // The disk has room again.
    void freeSpace() {
        if (restored_) return;
        alarm(0);
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
        restored_ = true;
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool restored_ = false;
};

// The handle back end: the first failed system write is remembered, each
// later call keeps only what fits, and the bytes kept are the file's bytes,
// in order, once the disk has room again for the close.
TEST(DiskFull, HandleBackEndKeepsEveryAcceptedByte) {
    dftest::ScratchDir dir("disk-full-handle");
    const auto path = dir.file("full.dat");
    const auto data = dftest::pattern(kOffered);
    Object obj;
    std::vector<uint8_t> accepted;
    {
        FullDisk disk(kLimit);
        ASSERT_EQ(obj->OpenFileHandle(dftest::qlPath(path).c_str(), qlModeWrite, 0), 1);
        accepted = writeInPieces(obj.get(), data);
        EXPECT_NE(obj.state().handleError, 0u);
        EXPECT_LT(accepted.size(), data.size());  // some calls dropped bytes
        EXPECT_GE(accepted.size(), size_t{kLimit});
        // The disk holds exactly the first bytes accepted.
        EXPECT_EQ(dftest::readAll(path), head(accepted, kLimit));
        disk.freeSpace();
        obj->CloseFileHandle();
    }
    const auto file = dftest::readAll(path);
    EXPECT_EQ(file.size(), accepted.size());
    EXPECT_TRUE(file == accepted) << "the file is not the accepted bytes in order";
}

// The stream back end does not examine its writes: every call counts as
// accepted, and the file holds the bytes up to the point the disk filled.
TEST(DiskFull, StreamBackEndKeepsTheBytesUpToTheFullDisk) {
    dftest::ScratchDir dir("disk-full-stream");
    const auto path = dir.file("full.dat");
    const auto data = dftest::pattern(kOffered, 3);
    Object obj;
    {
        FullDisk disk(kLimit);
        ASSERT_EQ(obj->OpenFile(dftest::qlPath(path).c_str(), qlModeWrite, 0), 1);
        EXPECT_EQ(writeInPieces(obj.get(), data), data);
        obj->CloseFile();
    }
    EXPECT_EQ(dftest::readAll(path), head(data, kLimit));
    // The object stays usable once the disk has room.
    ASSERT_EQ(obj->OpenFile(dftest::qlPath(path).c_str(), qlModeWrite, 0), 1);
    obj->WriteBytes(data.data(), 5);
    obj->CloseFile();
    EXPECT_EQ(dftest::readAll(path), head(data, 5));
}

// /dev/full refuses every write with ENOSPC.
TEST(DiskFull, DevFullEndsQuietly) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    const QLString full = dftest::qlPath("/dev/full");
    const auto data = dftest::pattern(200000);
    Object obj;
    alarm(60);
    ASSERT_EQ(obj->OpenFile(full.c_str(), qlModeWrite, 0), 1);
    obj->WriteBytes(data.data(), static_cast<uint32_t>(data.size()));
    EXPECT_EQ(obj->GetByteCount(), data.size());  // unnoticed, as documented
    obj->CloseFile();
    EXPECT_EQ(obj.state().stream, nullptr);

    ASSERT_EQ(obj->OpenFileHandle(full.c_str(), qlModeWrite, 0), 1);
    obj->WriteBytes(data.data(), static_cast<uint32_t>(data.size()));
    EXPECT_EQ(obj.state().handleError, 112u);  // ERROR_DISK_FULL
    EXPECT_EQ(obj->GetByteCount(), 65536u);    // the first buffer; the rest was dropped
    obj->CloseFileHandle();
    EXPECT_EQ(obj.state().fileHandle, nullptr);
    alarm(0);
}

#endif  // __linux__

}  // namespace
