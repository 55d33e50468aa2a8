// The data file's portable core at the edges it documents, each result written out: reads where the
// 65536-byte buffer is refilled, progress, value-line texts, error numbers and texts, CopyLine and the
// field search.  Random sequences of calls against a model of the file are the fuzz target's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "base/wide_text.h"
#include "datafile/data_file.h"
#include "datafile/error_numbers.h"
#include "datafile/text_fields.h"

namespace {

using namespace std::string_literals;

// A scratch file of this run: the process id and a letter beyond ASCII in its name.
const std::string kName = "/tmp/ql-datafile-" + std::to_string(getpid()) + "-\u00e9";
const struct Remover {
    ~Remover() { std::remove(kName.c_str()); }
} remover;

ql::DataFile open(uint32_t mode) {
    ql::DataFile f{};
    int32_t error = 0;
    EXPECT_TRUE(ql::openStreamFile(f, error, ql::fromUtf8(kName).c_str(), mode, false));
    return f;
}

// Progress as told: a flush as the byte count, a refill as minus the bytes fetched.
struct Recorded {
    std::vector<int64_t> calls;
    ql::Progress hook{[](void* c, int32_t n) { static_cast<Recorded*>(c)->calls.push_back(n); },
                      [](void* c, uint32_t n) { static_cast<Recorded*>(c)->calls.push_back(-int64_t{n}); }, this};
};

enum Op { bytes, line, field, wide };

// A file of `size` bytes 'a' with `mark` at markAt, written in pieces of at most `piece` bytes; one read
// after `skip` bytes: its result, GetBufferPos, the destination from byte `at` on ('#': left alone) and
// the progress of it all.
TEST(DatafileBuffer, ReadsWhereTheBufferIsRefilled) {
    const struct {
        uint32_t size, markAt;
        std::string mark;
        uint32_t piece, skip;
        Op op;
        uint32_t capacity;
        uint8_t term;
        int64_t result;
        uint32_t pos, at;
        std::string text;
        std::vector<int64_t> progress;
    } cases[] = {
        {70000, 65535, "\r\n", 70000, 65000, line, 2000, 0, 537, 1, 533, "aa\0\0#"s, {0, 65536, -65536, -4464}},
        {70000, 65535, "\t", 70000, 65500, wide, 1000, 9, 18, 1, 34, "a\t\0\0\0#"s, {0, 65536, -65536}},
        {11, 10, "\t", 11, 0, wide, 100, 9, 5, 0, 9, "a\t\0\0#"s, {}},
        {100, 18, ",", 100, 0, field, 20, ',', 19, 19, 17, "a\0\0#"s, {}},  // no room for the 16-bit zero
        {150000, 0, "", 150000, 0, line, 150001, 0, 150000, 0, 149999, "a\0#"s,
         {0, 65536, 131072, -65536, -65536, -18928}},
        {65537, 0, "", 65536, 0, bytes, 65538, 0, 65537, 0, 65536, "a#", {65536, -65536, -1}},
        {65536, 0, "", 65536, 0, bytes, 65537, 0, 65536, 0, 65535, "a#", {-65536}},
    };
    for (const auto& c : cases) {
        std::string text(c.size, 'a');
        text.replace(c.markAt, c.mark.size(), c.mark);
        Recorded r;
        ql::DataFile f = open(ql::kModeWrite);
        for (uint32_t at = 0; at < c.size; at += c.piece)
            ql::writeStreamBytes(f, text.data() + at, std::min(c.piece, c.size - at), &r.hook);
        ql::closeStreamFile(f);
        f = open(ql::kModeRead);
        EXPECT_EQ(ql::readStreamBytes(f, nullptr, c.skip, &r.hook), c.skip);
        std::string got(c.capacity + 8, '#');
        auto* to = reinterpret_cast<uint8_t*>(&got[0]);
        int64_t result = 0;
        if (c.op == bytes) result = ql::readStreamBytes(f, to, c.capacity, &r.hook);
        if (c.op == line) result = ql::readStreamLine(f, &got[0], c.capacity, &r.hook);
        if (c.op == field) result = ql::readStreamField(f, to, static_cast<int32_t>(c.capacity), c.term);
        if (c.op == wide) result = ql::readStreamWideField(f, to, static_cast<int32_t>(c.capacity), c.term, true);
        const std::string row = "row " + std::to_string(&c - cases);
        EXPECT_EQ(result, c.result) << row;
        EXPECT_EQ(ql::streamBufferPos(f), c.pos) << row;
        EXPECT_EQ(got.substr(c.at, c.text.size()), c.text) << row;
        EXPECT_EQ(r.calls, c.progress) << row;
        ql::closeStreamFile(f);
    }
}

TEST(DatafileText, ErrorNumbersAndMessages) {
    const std::pair<int32_t, const char*> messages[] = {{38, "File name too long"}, {0, "(none)"}, {15, "(none)"},
                                                        {81, "(none)"}, {-2, "(none)"}};
    for (auto [number, text] : messages) {
        const QLWChar* got = ql::errorMessage(number);
        EXPECT_EQ(got ? ql::toUtf8(got) : "(none)", text) << "error number " << number;
    }
    EXPECT_EQ(ql::savedErrorNumber(0), 5) << "an error the runtime does not name reads as an I/O error";
}

uint64_t pointer(const void* p) { return reinterpret_cast<uintptr_t>(p); }

// Value-line texts: the examples the documents give, signs, carries, fractions at a power of ten, the edges of
// 32 bits and values beyond them, infinities, NaN, null pointers, the locale's "?" and the 255-byte cut.
TEST(DatafileText, ValueLines) {
    std::deque<double> doubles;  // where the values point
    std::deque<float> floats;
    const auto d = [&](double v) { return pointer(&doubles.emplace_back(v)); };
    const auto f = [&](float v) { return pointer(&floats.emplace_back(v)); };
    const std::u16string longText(300, u'x');
    const std::string x255(255, 'x');
    const struct {
        int32_t kinds[3];
        uint64_t values[3];
        std::string text;
    } cases[] = {
        {{1, 5, 3}, {pointer(u"Width"), d(1.5), 42}, "Width 1.5000000 42 \r\n"},
        {{0, 2, 6}, {0, 4660, 0}, "0x00000000'00001234 \r\n"},
        {{5, 4, 3}, {d(2.05), f(0.25f), 0xFFFFFFFF}, "2.0500000 0.2500000 -1 \r\n"},
        {{4, 5, 5}, {f(-0.5f), d(0.99999999), d(std::nan(""))}, "-0.5000000 1.0000000 nan \r\n"},
        {{5, 5, 5}, {d(0.1), d(1.001), d(1e-7)}, "0.1000000 1.0010000 0.0000001 \r\n"},
        {{4, 1, 5}, {f(2147483648.0f), 0, 0}, "2147483648.0000000   \r\n"},
        {{1, 3, 3}, {pointer(u"\u00e9t\u00e9"), 0x80000000, 7}, "?t? -2147483648 7 \r\n"},
        {{1, 1, 0}, {pointer(longText.c_str()), pointer(longText.c_str()), 0}, x255 + " " + x255 + " \r\n"},
        {{5, 5, 5}, {d(2147483647.0), d(2147483648.0), d(-2147483648.0)},
         "2147483647.0000000 2147483648.0000000 -2147483648.0000000 \r\n"},
        {{5, 5, 5}, {d(2147483647.5), d(4294967296.25), d(1e20)},
         "2147483647.5000000 4294967296.2500000 100000000000000000000.0000000 \r\n"},
        {{5, 5, 5}, {d(-2147483647.99999976), d(-HUGE_VAL), d(HUGE_VAL)}, "-2147483647.9999998 -inf inf \r\n"},
    };
    const char* const hex[3] = {"", "0x00000000'00001234", ""};
    for (const auto& c : cases) {
        ql::ValueLine line;
        ql::composeValueLine(line, c.kinds, c.values, hex);
        EXPECT_EQ(std::string(line.text, line.ends[line.parts - 1]), c.text);
    }
}

TEST(DatafileText, CopyLine) {
    const struct {
        const char* source;
        int32_t length;
        uint32_t capacity, copied;
    } cases[] = {
        {"ab\nx", 4, 10, 3}, {"ab\nx", 4, 2, 2},  {"abc", 3, 10, 3}, {"abc", 2, 10, 2},
        {"\nabc", 4, 10, 1}, {"abc", -1, 10, 0}, {"abc", 3, 0, 0},  {nullptr, 3, 10, 0},
    };
    for (const auto& c : cases) {
        std::string out(12, '#');
        const std::string row = (c.source ? c.source : "null") + std::to_string(c.length) + std::to_string(c.capacity);
        EXPECT_EQ(ql::copyLine(c.source, c.length, &out[0], c.capacity), c.copied) << row;
        EXPECT_EQ(out, std::string(c.source ? c.source : "", c.copied) + std::string(12 - c.copied, '#')) << row;
    }
    EXPECT_EQ(ql::copyLine("abc", 3, nullptr, 5), 0u);
}

TEST(DatafileText, FieldSearch) {
    // Fields as ReadWideField delivers them: text, terminator, count.
    const std::u16string longPart(511, u'B');
    const struct {
        std::vector<std::u16string> fields;
        const char16_t* text;
        int found;
    } cases[] = {
        {{u"A\t", u"B\t", u"C\n"}, u"B", 1}, {{u"A\t", u"B\t", u"C\n"}, u"D", -1}, {{u"A\t", u"B\r\n"}, u"B", -1},
        {{u"A\t", u"B\r\n"}, u"B\r", 1},     {{u"AB"}, u"AB", 0},                   {{u"A\t", u"BC\t"}, u"B", -1},
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
