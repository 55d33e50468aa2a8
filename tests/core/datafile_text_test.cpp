// The text that goes into and comes out of the data file: value lines,
// the field search, CopyLine, error numbers and their messages.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "datafile/error_numbers.h"
#include "datafile/text_fields.h"
#include "object/wide_text.h"

namespace {

std::string message(int32_t number) {
    const QLWChar* text = ql::errorMessage(number);
    return text ? ql::toUtf8(text) : "(none)";
}

TEST(DatafileText, ErrorMessages) {
    const std::pair<int32_t, const char*> cases[] = {
        {2, "No such file or directory"}, {13, "Permission denied"}, {80, "String was truncated"},
        {36, "Resource deadlock would occur"}, {33, "Math argument"}, {38, "File name too long"},
        {11, "No more processes or not enough memory or maximum nesting level reached"}, {0, "(none)"},
        {15, "(none)"}, {26, "(none)"}, {35, "(none)"}, {37, "(none)"}, {43, "(none)"}, {79, "(none)"},
        {81, "(none)"}, {-2, "(none)"}};
    for (auto [number, text] : cases) EXPECT_EQ(message(number), text) << "error number " << number;
}

TEST(DatafileText, RuntimeErrorsSavedByName) {
    const std::pair<int, int32_t> cases[] = {{ENOENT, 2}, {EACCES, 13}, {ENOSPC, 28}, {ENOSYS, 40},
                                             {ENOTEMPTY, 41}, {ENAMETOOLONG, 38}, {EILSEQ, 42}, {0, 5}};
    for (auto [runtime, saved] : cases) EXPECT_EQ(ql::savedErrorNumber(runtime), saved) << "errno " << runtime;
}

uint64_t pointer(const void* p) { return reinterpret_cast<uintptr_t>(p); }

TEST(DatafileText, ValueLines) {
    const float quarter = 0.25f, minus = -0.5f, big = 3e9f;
    const double one5 = 1.5, two05 = 2.05, nine = 0.99999999, nan = std::nan("");
    const struct Case { int32_t kinds[3]; uint64_t values[3]; std::vector<std::string> parts; } cases[] = {
        {{1, 5, 3}, {pointer(u"Width"), pointer(&one5), 42}, {"Width", " ", "1", ".", "5000000", " ", "42", " ", "\r\n"}},
        {{0, 0, 0}, {0, 0, 0}, {"\r\n"}},
        {{2, 0, 7}, {4660, 0, 0}, {"0x00000000'00001234", " ", "\r\n"}},
        {{5, 4, 3}, {pointer(&two05), pointer(&quarter), 0xFFFFFFFF}, {"2", ".", "0", "500000", " ", "0", ".", "2500000", " ", "-1", " ", "\r\n"}},
        {{4, 5, 5}, {pointer(&minus), pointer(&nine), pointer(&nan)}, {"-", "0", ".", "5000000", " ", "1", ".", "0", "0", "0", "0", "0", "0", "0", " ", "nan", " ", "\r\n"}},
        {{4, 1, 5}, {pointer(&big), 0, 0}, {"3000000000", ".", "0000000", " ", " ", " ", "\r\n"}},
        {{1, 3, 3}, {pointer(u"\u00e9t\u00e9"), 0x80000000, 7}, {"?t?", " ", "-2147483648", " ", "7", " ", "\r\n"}},
    };
    const char* const hex[3] = {"0x00000000'00001234", "", ""};
    for (const Case& c : cases) {
        ql::ValueLine line;
        ql::composeValueLine(line, c.kinds, c.values, hex);
        std::vector<std::string> parts;
        for (int i = 0, at = 0; i < line.parts; at = line.ends[i++]) parts.emplace_back(line.text + at, line.ends[i] - at);
        std::string want, got;
        for (const auto& p : c.parts) want += "[" + p + "]";
        for (const auto& p : parts) got += "[" + p + "]";
        EXPECT_EQ(got, want) << "kinds " << c.kinds[0] << c.kinds[1] << c.kinds[2];
    }
    ql::ValueLine line;
    const std::u16string longText(300, u'x');
    const int32_t kinds[3] = {1, 1, 1};
    const uint64_t values[3] = {pointer(longText.c_str()), pointer(longText.c_str()), pointer(longText.c_str())};
    ql::composeValueLine(line, kinds, values, hex);
    EXPECT_EQ(line.ends[0], 255) << "a text value is cut to 255 bytes";
    EXPECT_EQ(line.ends[line.parts - 1], 3 * 256 + 2);
}

TEST(DatafileText, CopyLine) {
    const struct { const char* source; int32_t length; uint32_t capacity; uint32_t copied; } cases[] = {
        {"ab\nx", 4, 10, 3}, {"ab\nx", 4, 2, 2}, {"abc", 3, 10, 3}, {"abc", 2, 10, 2}, {"\nabc", 4, 10, 1},
        {"abc", 0, 10, 0}, {"abc", -1, 10, 0}, {"abc", 3, 0, 0}, {nullptr, 3, 10, 0},
    };
    for (const auto& c : cases) {
        char out[12];
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(ql::copyLine(c.source, c.length, out, c.capacity), c.copied) << (c.source ? c.source : "null") << " " << c.length << " " << c.capacity;
        EXPECT_EQ(out[c.copied], '#') << "no terminator after " << c.copied;
        EXPECT_EQ(c.copied ? std::memcmp(out, c.source, c.copied) : 0, 0);
    }
    EXPECT_EQ(ql::copyLine("abc", 3, nullptr, 5), 0u);
}

TEST(DatafileText, FieldSearch) {
    // Fields as ReadWideField delivers them: text, terminator, count.
    const std::u16string longPart(511, u'B');
    const struct { std::vector<std::u16string> fields; const char16_t* text; int found; } cases[] = {
        {{u"A\t", u"B\t", u"C\n"}, u"B", 1},   {{u"A\t", u"B\t", u"C\n"}, u"D", -1},
        {{u"A\t", u"B\r\n"}, u"B", -1},        {{u"A\t", u"B\r\n"}, u"B\r", 1},
        {{u"AB"}, u"AB", 0},                   {{u"A\t", u"BC\t"}, u"B", -1},
        {{longPart + u"B", u"B\t", u"B\t"}, u"B", 2},
    };
    for (const auto& c : cases) {
        ql::FieldSearch search{false};
        int found = -1;
        for (size_t i = 0; i <= c.fields.size(); ++i) {
            std::u16string field = i < c.fields.size() ? c.fields[i] : u"";
            const auto count = static_cast<int32_t>(field.size());
            const ql::FieldVerdict v = search.check(&field[0], count, c.text);
            if (v == ql::FieldVerdict::found) found = static_cast<int>(i);
            if (v != ql::FieldVerdict::next) break;
        }
        EXPECT_EQ(found, c.found) << ql::toUtf8(c.text);
    }
}

}  // namespace
