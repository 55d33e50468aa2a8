// The stream back end: counters, buffer, readers, failures, progress.
#include <gtest/gtest.h>

#include <cstring>

#include "datafile_test_util.h"

namespace {

using namespace dftest;

constexpr uint8_t kGuard = 0xCD;

// Opens a file holding bytes for reading.
void openWith(Object& obj, const ScratchDir& dir, const std::vector<uint8_t>& bytes, const char* name = "in.dat") {
    writeAll(dir.file(name), bytes);
    ASSERT_TRUE(obj->OpenFile(qlPath(dir.file(name)).c_str(), qlModeRead, 0));
    ASSERT_EQ(obj->GetByteCount(), bytes.size());
}

TEST(DatafileStream, WritesWithoutFileOnlyCount) {
    Object obj;
    uint8_t data[30] = {};
    obj->WriteBytes(data, 10);
    obj->WriteBytes(data, 20);
    obj->WriteBytes(nullptr, 30);  // never read while counting
    EXPECT_EQ(obj->GetByteCount(), 60u);
    EXPECT_EQ(obj.state().ioBuffer, nullptr);
    EXPECT_EQ(obj->GetBufferPos(), 0xFFFFFFFFu);
}

TEST(DatafileStream, LongWriteGoesOutOneFullBufferAtATime) {
    ScratchDir dir("long");
    Object obj;
    const auto path = dir.file("out.dat");
    ASSERT_TRUE(obj->OpenFile(qlPath(path).c_str(), qlModeWrite, 0));
    // The first open allocates the buffer, zero-filled.
    const ql::QLState& s = obj.state();
    ASSERT_NE(s.ioBuffer, nullptr);
    EXPECT_TRUE(std::all_of(s.ioBuffer, s.ioBuffer + 65536, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(s.bufferSize, 65536u);
    EXPECT_EQ(s.bufferAvail, 65536u);

    ProgressSpy spy(obj);
    const auto data = pattern(200000);
    obj->WriteBytes(data.data(), 200000);
    EXPECT_EQ(obj->GetByteCount(), 200000u);
    EXPECT_EQ(spy.positions, (std::vector<int32_t>{0, 65536, 131072, 196608}));
    EXPECT_EQ(readAll(path).size(), 196608u);  // three full buffers so far
    EXPECT_EQ(s.bufferPos, 3392u);
    EXPECT_EQ(s.bufferPos + s.bufferAvail, s.bufferSize);

    obj->CloseFile();
    EXPECT_EQ(readAll(path), data);
    EXPECT_EQ(spy.positions.size(), 4u);  // the close reports nothing
    EXPECT_EQ(s.ioBuffer, nullptr);
    EXPECT_EQ(s.stream, nullptr);
    EXPECT_EQ(s.bufferPos | s.bufferSize | s.bufferAvail | s.openMode | uint32_t(s.byteCount), 0u);
}

TEST(DatafileStream, ReadersOnShortFile) {
    ScratchDir dir("readers");
    Object obj;
    openWith(obj, dir, bytesOf("abc\r\nx"));
    char line[16];
    EXPECT_EQ(obj->ReadLine(line, sizeof line), 5u);
    EXPECT_STREQ(line, "abc");
    EXPECT_EQ(obj->ReadLine(line, sizeof line), 1u);
    EXPECT_STREQ(line, "x");
    EXPECT_EQ(obj->ReadLine(line, sizeof line), 0u);
    EXPECT_STREQ(line, "");

    ASSERT_TRUE(obj->SeekRead(0));
    EXPECT_EQ(obj->ReadBytes(nullptr, 2), 2u);  // skips a, b
    char c = 0;
    EXPECT_EQ(obj->ReadBlock(&c, 1), 1u);
    EXPECT_EQ(c, 'c');
    EXPECT_EQ(obj->GetBufferPos(), 3u);
    EXPECT_EQ(obj->ReadBytes(nullptr, 100), 3u);  // what is left

    // A carriage return not right before the line feed stays.
    openWith(obj, dir, bytesOf("a\rb\n\n"), "cr.dat");
    EXPECT_EQ(obj->ReadLine(line, sizeof line), 4u);
    EXPECT_STREQ(line, "a\rb");
    EXPECT_EQ(obj->ReadLine(line, sizeof line), 1u);  // an empty line
    EXPECT_STREQ(line, "");

    // Full without a line feed: the capacity, no terminator, nothing past it.
    openWith(obj, dir, bytesOf("abcdef\n"), "full.dat");
    char small[6];
    std::memset(small, kGuard, sizeof small);
    EXPECT_EQ(obj->ReadLine(small, 4), 4u);
    EXPECT_EQ(std::memcmp(small, "abcd\xCD\xCD", 6), 0);
}

TEST(DatafileStream, FieldReaders) {
    ScratchDir dir("fields");
    Object obj;
    openWith(obj, dir, bytesOf("12,34"));
    uint8_t out[8];
    std::memset(out, kGuard, sizeof out);
    EXPECT_EQ(obj->ReadField(reinterpret_cast<char*>(out), 8, ','), 3);
    EXPECT_EQ(std::memcmp(out, "12,\0\0\xCD", 6), 0);
    // Capacity used up: the 16-bit zero goes over its last two bytes.
    std::memset(out, kGuard, sizeof out);
    EXPECT_EQ(obj->ReadField(reinterpret_cast<char*>(out), 2, ','), 2);
    EXPECT_EQ(std::memcmp(out, "\0\0\xCD", 3), 0);
    // Capacities below 2 and null destinations touch nothing.
    std::memset(out, kGuard, sizeof out);
    EXPECT_EQ(obj->ReadField(reinterpret_cast<char*>(out), 1, ','), 0);
    EXPECT_EQ(obj->ReadField(nullptr, 8, ','), 0);
    EXPECT_EQ(obj->ReadWideField(reinterpret_cast<QLWChar*>(out), 1, 9, 1), 0);
    EXPECT_EQ(obj->ReadLine(nullptr, 8), 0u);
    EXPECT_EQ(obj->ReadBlock(nullptr, 8), 0u);
    EXPECT_EQ(out[0], kGuard);
    EXPECT_EQ(obj->GetBufferPos(), 5u);  // the refused calls took nothing

    // UTF-16 A, B, TAB, C: A B TAB and a zero character, 3 units.
    openWith(obj, dir, {'A', 0, 'B', 0, 9, 0, 'C', 0}, "wide.dat");
    QLWChar wide[8];
    EXPECT_EQ(obj->ReadWideField(wide, sizeof wide, 9, 1), 3);
    EXPECT_EQ(QLString(wide), (QLString{'A', 'B', 9}));
    EXPECT_EQ(obj->ReadWideField(wide, sizeof wide, 9, 1), 1);  // C, then the end
    EXPECT_EQ(wide[0], QLWChar('C'));
    // A terminator above 127 never matches; line feeds stop only when asked.
    openWith(obj, dir, {0xE9, 0, 10, 0, 'z', 0}, "high.dat");
    EXPECT_EQ(obj->ReadWideField(wide, sizeof wide, 0xE9, 0), 3);
    ASSERT_TRUE(obj->SeekRead(0));
    EXPECT_EQ(obj->ReadWideField(wide, sizeof wide, 0xE9, 1), 2);
}

TEST(DatafileStream, TerminatorsSplitAcrossBufferFills) {
    ScratchDir dir("split");
    Object obj;
    // A CR LF whose CR ends the first fill.
    std::vector<uint8_t> text(65535, 'a');
    text.push_back('\r');
    text.push_back('\n');
    text.push_back('b');
    openWith(obj, dir, text);
    std::vector<char> line(70000, char(kGuard));
    EXPECT_EQ(obj->ReadLine(line.data(), 70000), 65537u);
    EXPECT_EQ(line[65534], 'a');
    EXPECT_EQ(line[65535], 0);
    EXPECT_EQ(obj->GetBufferPos(), 1u);

    // A wide terminator whose second byte starts the next fill.
    std::vector<uint8_t> wide(65535, 'A');
    wide.push_back(9);
    wide.push_back(0);
    wide.push_back('B');
    wide.push_back(0);
    openWith(obj, dir, wide, "wide.dat");
    std::vector<QLWChar> field(40000);
    EXPECT_EQ(obj->ReadWideField(field.data(), 80000, 9, 0), 32768);
    EXPECT_EQ(obj->GetBufferPos(), 1u);
    EXPECT_EQ(obj->ReadWideField(field.data(), 80000, 9, 0), 1);
    EXPECT_EQ(field[0], QLWChar('B'));

    // A terminator byte that ends the file: its second byte is not there.
    openWith(obj, dir, {'A', 0, 9}, "end.dat");
    uint8_t out[8];
    std::memset(out, kGuard, sizeof out);
    EXPECT_EQ(obj->ReadWideField(reinterpret_cast<QLWChar*>(out), 8, 9, 0), 1);
    EXPECT_EQ(std::memcmp(out, "A\0\t\0\0\xCD", 6), 0);
    EXPECT_EQ(obj.state().bufferAvail, 0u);
    EXPECT_EQ(obj->ReadWideField(reinterpret_cast<QLWChar*>(out), 8, 9, 0), 0);
}

TEST(DatafileStream, WrongModeGivesEmptyResults) {
    ScratchDir dir("mode");
    Object obj;
    ASSERT_TRUE(obj->OpenFile(qlPath(dir.file("w.dat")).c_str(), qlModeWrite, 0));
    char buf[4] = {'q', 'q', 'q', 'q'};
    EXPECT_EQ(obj->ReadBytes(buf, 4), 0u);
    EXPECT_EQ(obj->ReadLine(buf, 4), 0u);
    EXPECT_EQ(obj->ReadField(buf, 4, ','), 0);
    EXPECT_FALSE(obj->SeekRead(0));
    EXPECT_EQ(obj->GetBufferPos(), 0xFFFFFFFFu);
    EXPECT_EQ(std::string(buf, 4), "qqqq");
    obj->CloseFile();
    // Another mode code opens nothing and is not remembered as a failure.
    EXPECT_FALSE(obj->OpenFile(qlPath(dir.file("w.dat")).c_str(), 3, 0));
    EXPECT_EQ(obj.state().streamError, 0);
    EXPECT_TRUE(obj->OpenFile(qlPath(dir.file("w.dat")).c_str(), qlModeRead, 0));
    EXPECT_FALSE(obj->SeekRead(-1));
}

TEST(DatafileStream, FailedOpenIsFinalForTheObject) {
    ScratchDir dir("fail");
    writeAll(dir.file("there.dat"), bytesOf("hello"));
    Object obj;
    EXPECT_FALSE(obj->OpenFile(qlPath(dir.file("missing.dat")).c_str(), qlModeRead, 0));
    EXPECT_EQ(obj.state().streamError, 2);
    EXPECT_FALSE(obj->OpenFile(qlPath(dir.file("there.dat")).c_str(), qlModeRead, 0));
    QLWChar text[72];
    obj->GetLastErrorText(text, 72);
    EXPECT_EQ(QLString(text), qlPath("No such file or directory"));
    obj->CloseFile();  // a close does not clear it
    EXPECT_EQ(obj.state().streamError, 2);

    Object folder;  // a folder is no data file
    EXPECT_FALSE(folder->OpenFile(qlPath(dir.file("")).c_str(), qlModeRead, 0));
    EXPECT_EQ(folder.state().streamError, 13);
    Object folderWrite;
    EXPECT_FALSE(folderWrite->OpenFile(qlPath(dir.file("")).c_str(), qlModeWrite, 0));
    EXPECT_EQ(folderWrite.state().streamError, 13);
    Object nullPath;
    EXPECT_FALSE(nullPath->OpenFile(nullptr, qlModeWrite, 0));
    EXPECT_EQ(nullPath.state().streamError, 22);

    Object fresh;
    EXPECT_TRUE(fresh->OpenFile(qlPath(dir.file("there.dat")).c_str(), qlModeRead, 0));
    EXPECT_EQ(fresh->GetByteCount(), 5u);
}

TEST(DatafileStream, AppendReopenAndDestroy) {
    ScratchDir dir("append");
    const auto path = dir.file("ünïcødé-ファイル.dat");
    writeAll(path, bytesOf("old"));
    Object obj;
    ASSERT_TRUE(obj->OpenFile(qlPath(path).c_str(), qlModeWrite, 1));
    EXPECT_EQ(obj->GetByteCount(), 0u);
    obj->WriteBytes("new", 3);
    // Opening again writes the waiting bytes of the first file and starts
    // the counters afresh.
    const auto other = dir.file("other.dat");
    ASSERT_TRUE(obj->OpenFile(qlPath(other).c_str(), qlModeWrite, 0));
    EXPECT_EQ(readAll(path), bytesOf("oldnew"));
    EXPECT_EQ(obj.state().bufferPos, 0u);
    EXPECT_EQ(obj.state().bufferAvail, 65536u);
    obj->WriteBytes("lost", 4);
    obj.destroy();  // the destroyer does not write waiting bytes
    EXPECT_TRUE(readAll(other).empty());
}

TEST(DatafileStream, ReadsReportProgressFromTheWindowStart) {
    ScratchDir dir("progress");
    Object obj;
    openWith(obj, dir, pattern(150000));
    obj.state().progressPos = 1000;
    ProgressSpy spy(obj);
    EXPECT_EQ(obj->ReadBytes(nullptr, 200000), 150000u);
    EXPECT_EQ(spy.positions, (std::vector<int32_t>{66536, 132072, 151000}));
    ASSERT_TRUE(obj->SeekRead(0));  // seeking leaves the position alone
    char out[8];
    obj->ReadField(out, sizeof out, 0xFF);  // its refill reports nothing
    EXPECT_EQ(spy.positions.size(), 3u);
    ASSERT_TRUE(obj->SeekRead(140000));
    obj->ReadLine(out, sizeof out);  // a line reader's refill does
    EXPECT_EQ(spy.positions.back(), 161000);
}

#ifndef _WIN32
TEST(DatafileStream, WriteFailureEndsQuietly) {
    Object obj;
    ASSERT_TRUE(obj->OpenFile(qlPath("/dev/full").c_str(), qlModeWrite, 0));
    const auto data = pattern(100000);
    obj->WriteBytes(data.data(), 100000);
    EXPECT_EQ(obj->GetByteCount(), 100000u);  // the buffer counts as written
    obj->CloseFile();
    EXPECT_EQ(obj.state().streamError, 0);
}
#endif

}  // namespace
