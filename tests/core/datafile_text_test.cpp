// The text that goes into and comes out of the data file: value lines,
// the field search, CopyLine, error numbers and their messages.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "datafile/error_numbers.h"
#include "datafile/text_fields.h"
#include "object/wide_text.h"

namespace {

TEST(DatafileText, ErrorNumbersAndMessages) {
    const std::pair<int32_t, const char*> messages[] = {
        {2, "No such file or directory"}, {13, "Permission denied"}, {80, "String was truncated"}, {38, "File name too long"},
        {11, "No more processes or not enough memory or maximum nesting level reached"}, {0, "(none)"}, {15, "(none)"}, {81, "(none)"}, {-2, "(none)"}};
    for (auto [number, text] : messages) {
        const QLWChar* got = ql::errorMessage(number);
        EXPECT_EQ(got ? ql::toUtf8(got) : "(none)", text) << "error number " << number;
    }
    const std::pair<int, int32_t> saved[] = {{ENOENT, 2}, {EACCES, 13}, {ENOSPC, 28}, {ENOSYS, 40},
                                             {ENOTEMPTY, 41}, {ENAMETOOLONG, 38}, {EILSEQ, 42}, {0, 5}};
    for (auto [runtime, number] : saved) EXPECT_EQ(ql::savedErrorNumber(runtime), number) << "errno " << runtime;
}

uint64_t pointer(const void* p) { return reinterpret_cast<uintptr_t>(p); }

TEST(DatafileText, ValueLines) {
    const float quarter = 0.25f, minus = -0.5f, big = 3e9f;
    const double one5 = 1.5, two05 = 2.05, nine = 0.99999999, nan = std::nan("");
    const std::u16string longText(300, u'x');  // a text value is cut to 255 bytes
    const uint64_t l = pointer(longText.c_str());
    const struct Case { int32_t kinds[3]; uint64_t values[3]; std::vector<std::string> parts; } cases[] = {
        {{1, 5, 3}, {pointer(u"Width"), pointer(&one5), 42}, {"Width", " ", "1", ".", "5000000", " ", "42", " ", "\r\n"}},
        {{0, 0, 0}, {0, 0, 0}, {"\r\n"}},
        {{2, 0, 7}, {4660, 0, 0}, {"0x00000000'00001234", " ", "\r\n"}},
        {{5, 4, 3}, {pointer(&two05), pointer(&quarter), 0xFFFFFFFF}, {"2", ".", "0", "500000", " ", "0", ".", "2500000", " ", "-1", " ", "\r\n"}},
        {{4, 5, 5}, {pointer(&minus), pointer(&nine), pointer(&nan)}, {"-", "0", ".", "5000000", " ", "1", ".", "0", "0", "0", "0", "0", "0", "0", " ", "nan", " ", "\r\n"}},
        {{4, 1, 5}, {pointer(&big), 0, 0}, {"3000000000", ".", "0000000", " ", " ", " ", "\r\n"}},
        {{1, 3, 3}, {pointer(u"\u00e9t\u00e9"), 0x80000000, 7}, {"?t?", " ", "-2147483648", " ", "7", " ", "\r\n"}},
        {{1, 1, 1}, {l, l, l}, {std::string(255, 'x'), " ", std::string(255, 'x'), " ", std::string(255, 'x'), " ", "\r\n"}},
    };
    const char* const hex[3] = {"0x00000000'00001234", "", ""};
    for (const Case& c : cases) {
        ql::ValueLine line;
        ql::composeValueLine(line, c.kinds, c.values, hex);
        std::vector<std::string> parts;
        for (int i = 0, at = 0; i < line.parts; at = line.ends[i++]) parts.emplace_back(line.text + at, line.ends[i] - at);
        EXPECT_EQ(parts, c.parts) << "kinds " << c.kinds[0] << c.kinds[1] << c.kinds[2];
    }
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
        EXPECT_EQ(std::string(out, c.copied + 1), std::string(c.source ? c.source : "", c.copied) + '#') << "no terminator";
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
            const ql::FieldVerdict v = search.check(&field[0], static_cast<int32_t>(field.size()), c.text);
            if (v == ql::FieldVerdict::found) found = static_cast<int>(i);
            if (v != ql::FieldVerdict::next) break;
        }
        EXPECT_EQ(found, c.found) << ql::toUtf8(c.text);
    }
}

}  // namespace
