// Measures, number text and the element array as a host sees them:
// through the interface table of QLCommon.dll.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host.h"

namespace {

using qltest::Object;

std::wstring formatMeasure(Object& o, int32_t thousandths, int32_t unit, int32_t decimals) {
    wchar_t out[64] = L"x";
    o->FormatMeasure(thousandths, out, 64, unit, decimals);
    return out;
}

TEST(MeasureTable, FormatAndParseMeasures) {
    ASSERT_TRUE(qltest::library().loaded());
    Object o;
    EXPECT_EQ(formatMeasure(o, 1500, unitInches, 3), L"1.500");
    EXPECT_EQ(formatMeasure(o, 12000, unitInches, 0), L"12.");
    EXPECT_EQ(formatMeasure(o, -1, unitInches, 2), L"-0.00");
    EXPECT_EQ(formatMeasure(o, 1000, unitFeet, 3), L"0.083");
    EXPECT_EQ(formatMeasure(o, 1000, unitMillimeters, 2), L"25.40");
    EXPECT_EQ(formatMeasure(o, 5, unitInches, 2), L"0.01");
    EXPECT_EQ(o->ParseMeasure(L"2 dia", unitInches), 6283);
    EXPECT_EQ(o->ParseMeasure(L"25.4mm", unitInches), 1000);
    EXPECT_EQ(o->ParseMeasure(L"-0.0005", unitInches), -1);
    EXPECT_EQ(o->ParseMeasure(L"0.1e1", unitCentimeters), 394);
    float f = 0;
    EXPECT_FALSE(o->ParseFractionalMeasureW(L"1 1/2", unitInches, &f, unitThousandths));
    EXPECT_EQ(f, 1500.0f);
    EXPECT_TRUE(o->ParseFractionalMeasureA("1/2-", unitInches, &f, unitThousandths));
    EXPECT_EQ(f, -500.0f);
    int32_t rounded = 0;
    EXPECT_TRUE(o->ParseFractionalMeasureRounded(L"0.0007-", unitInches, &rounded, unitThousandths));
    EXPECT_EQ(rounded, -1);
    EXPECT_EQ(o->Hypotenuse(3, 4), 5.0);
}

TEST(MeasureTable, SlotsSixAndSevenAgree) {
    Object o;
    const ICommonVtbl* t = o.table();
    EXPECT_EQ(reinterpret_cast<void*>(t->MulDivRound), reinterpret_cast<void*>(t->MulDivRound2));
    EXPECT_EQ(t->MulDivRound(o.get(), 3, 5, 2), 8);
    EXPECT_EQ(t->MulDivRound2(o.get(), -3, 5, 2), -7);
    EXPECT_EQ(t->MulDivRound(o.get(), 1, 1, 0), INT32_MAX);
}

TEST(MeasureTable, NumberTexts) {
    Object o;
    wchar_t out[64];
    o->FormatFloat(0.125f, out, 64, 2);
    EXPECT_STREQ(out, L"0.13");
    o->FormatFloat(12.0f, out, 64, 0);
    EXPECT_STREQ(out, L"12");
    o->FormatFloat(-0.5f, out, 5, 2);
    EXPECT_STREQ(out, L"");  // "-0.50" needs 6 units
    char hex[20];
    o->FormatHex64(4660, hex, 20);
    EXPECT_STREQ(hex, "0x00000000'00001234");
    o->FormatHexDigits(2147483647, out, 9);
    EXPECT_STREQ(out, L"7FFFFFFF");
    wchar_t quotes[] = {0x201C, L'a', 0x2019, 0x201D, 0};
    o->StraightenQuotes(quotes);
    EXPECT_STREQ(quotes, L"\"a'\"");
    EXPECT_EQ(o->FindField(L"x"), -1);  // no file open
}

TEST(MeasureTable, ElementAddressesStayAcrossGrowth) {
    Object o;
    o->BeginElements(4);
    void* first = nullptr;
    for (uint32_t i = 0; i < 100000; ++i) {
        o->PushElement(&i);
        if (i == 0) {
            ASSERT_TRUE(o->GetElementPointer(0, &first));
        }
    }
    EXPECT_EQ(o->GetElementCount(), 100000);
    void* again = nullptr;
    ASSERT_TRUE(o->GetElementPointer(0, &again));
    EXPECT_EQ(first, again);
    void* last = nullptr;
    ASSERT_TRUE(o->GetElementPointer(99999, &last));
    EXPECT_EQ(*static_cast<uint32_t*>(last), 99999u);
    EXPECT_EQ(static_cast<char*>(last) - static_cast<char*>(first), 99999 * 4);
    uint32_t v = 0;
    EXPECT_TRUE(o->PopElement(&v));
    EXPECT_EQ(v, 99999u);
    o->FreeElements();
    EXPECT_EQ(o->GetElementCount(), 0);
    o->BeginElements(8);  // left with storage: the destroyer frees it
}

std::wstring scratchFile(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

std::string fileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(h);
    return bytes;
}

TEST(MeasureTable, ValueLinesAndFieldsThroughTheDataFile) {
    Object o;
    const std::wstring path = scratchFile(L"qlcommon-measure-lines.txt");
    ASSERT_TRUE(o->OpenFile(path.c_str(), qlModeWrite, 0));
    const wchar_t* width = L"Width";
    const double d = 2.05;
    o->WriteValueLine(valueText, reinterpret_cast<uintptr_t>(width), valueDouble, reinterpret_cast<uintptr_t>(&d),
                      valueInt, 0xFFFFFFFF);
    o->WriteValueLine(valueHex64, 4660, 0, 0, 0, 0);
    o->CloseFile();
    EXPECT_EQ(fileBytes(path), "Width 2.0500000 -1 \r\n0x00000000'00001234 \r\n");

    // UTF-16 fields A TAB B TAB C LF, written as a host would.
    const wchar_t fields[] = L"A\tB\tC\n";
    ASSERT_TRUE(o->OpenFile(path.c_str(), qlModeWrite, 0));
    o->WriteBytes(fields, 12);
    o->CloseFile();
    ASSERT_TRUE(o->OpenFile(path.c_str(), qlModeRead, 0));
    EXPECT_EQ(o->FindField(L"B"), 0);
    wchar_t rest[8] = {};
    EXPECT_EQ(o->ReadWideField(rest, sizeof rest, 9, 1), 2);
    EXPECT_EQ(rest[0], L'C');
    EXPECT_EQ(o->FindField(L"A"), -1);
    o->CloseFile();
    DeleteFileW(path.c_str());
}

}  // namespace
