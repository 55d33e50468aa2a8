// Value lines and the field search on real data files, end to end through
// OpenFile, WriteBytes, ReadWideField and CloseFile.
#include <gtest/gtest.h>

#include <string>

#include "datafile_test_util.h"
#include "measure_support.h"

namespace {

using measuretest::Object;
using measuretest::w;

uint64_t pointer(const void* p) { return reinterpret_cast<uintptr_t>(p); }

TEST(MeasureDataFile, ValueLinesReachTheFile) {
    dftest::ScratchDir dir("measure-lines");
    const auto path = dir.file("lines.txt");
    Object o;
    ASSERT_TRUE(o->OpenFile(dftest::qlPath(path).c_str(), qlModeWrite, 0));
    const auto width = w("Width");
    const double d = 1.5;
    const float f = 0.25f;
    o->WriteValueLine(valueText, pointer(width.c_str()), valueDouble, pointer(&d), valueInt, 42);
    o->WriteValueLine(0, 0, 0, 0, 0, 0);
    o->WriteValueLine(valueHex64, 4660, valueFloat, pointer(&f), 0, 0);
    const std::string expected = "Width 1.5000000 42 \r\n\r\n0x00000000'00001234 0.2500000 \r\n";
    EXPECT_EQ(o->GetByteCount(), expected.size());
    o->CloseFile();
    EXPECT_EQ(dftest::readAll(path), dftest::bytesOf(expected));
    // Closed: nothing more is written, and nothing fails.
    o->WriteValueLine(valueInt, 1, 0, 0, 0, 0);
    EXPECT_EQ(dftest::readAll(path).size(), expected.size());
}

std::vector<uint8_t> utf16Bytes(const std::u16string& text) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

TEST(MeasureDataFile, FindFieldReadsTabSeparatedFields) {
    dftest::ScratchDir dir("measure-fields");
    const auto path = dir.file("fields.bin");
    dftest::writeAll(path, utf16Bytes(u"A\tB\tC\n"));
    Object o;
    ASSERT_TRUE(o->OpenFile(dftest::qlPath(path).c_str(), qlModeRead, 0));
    EXPECT_EQ(o->FindField(w("B").c_str()), 0);
    QLWChar rest[8] = {};
    EXPECT_EQ(o->ReadWideField(rest, sizeof rest, 9, 1), 2);  // C and its line feed
    EXPECT_EQ(rest[0], 'C');
    EXPECT_EQ(rest[1], 10);
    o->CloseFile();
    ASSERT_TRUE(o->OpenFile(dftest::qlPath(path).c_str(), qlModeRead, 0));
    EXPECT_EQ(o->FindField(w("D").c_str()), -1);
    EXPECT_EQ(o->ReadWideField(rest, sizeof rest, 9, 1), 0);  // read to the end
    o->CloseFile();
    // A long field and its tail never match; the next field does.
    dftest::writeAll(path, utf16Bytes(std::u16string(700, u'x') + u"KEY\tKEY\t"));
    ASSERT_TRUE(o->OpenFile(dftest::qlPath(path).c_str(), qlModeRead, 0));
    EXPECT_EQ(o->FindField(w("KEY").c_str()), 0);
    EXPECT_EQ(o->ReadWideField(rest, sizeof rest, 9, 1), 0);
    o->CloseFile();
}

}  // namespace
