// The data file's buffer logic on real files (writes and reads against a
// model of the file and the 65536-byte buffer, on cases at the buffer's edges
// and on random writes read back with random reads), and the text that goes
// into and comes out of it: value lines, the field search, CopyLine, error
// numbers and their messages.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/error_numbers.h"
#include "datafile/text_fields.h"
#include "base/wide_text.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint32_t kFill = 65536;
// A scratch file of this run: the process id and a letter beyond ASCII in its name.
const std::string kName = "/tmp/ql-datafile-" + std::to_string(getpid()) + "-\u00e9";
const struct Remover { ~Remover() { std::remove(kName.c_str()); } } remover;

ql::DataFile open(uint32_t mode) {
    ql::DataFile f{};
    int32_t error = 0;
    EXPECT_TRUE(ql::openStreamFile(f, error, ql::fromUtf8(kName).c_str(), mode, false));
    return f;
}

struct Recorded {
    std::vector<int64_t> calls;  // flushes as byteCount, fetches as -bytes
    ql::Progress hook{[](void* c, int32_t n) { static_cast<Recorded*>(c)->calls.push_back(n); },
                      [](void* c, uint32_t n) { static_cast<Recorded*>(c)->calls.push_back(-int64_t{n}); }, this};
};

// The readers' model: the file, the next byte, and the piece the last
// refill fetched (only when the piece is used up and a byte is wanted).
struct Model {
    Bytes file;
    size_t cursor = 0, fillStart = 0, fillEnd = 0;
    bool next(uint8_t* b) {
        if (cursor == fillEnd) {
            fillStart = cursor;
            fillEnd = std::max(cursor, std::min(file.size(), cursor + kFill));
            if (fillEnd == fillStart) return false;
        }
        *b = file[cursor++];
        return true;
    }
};

enum Op { bytes, skip, line, field, wide, seek };
struct Call {
    Op op;
    int32_t arg;  // count, capacity or offset
    uint8_t term = 0;
};

// Writes `content` in pieces of the given sizes (the rest in one), then makes
// each call on the file and on the model: the result, the bytes delivered and
// the buffer position must agree.  Answers the progress of it all.
std::vector<int64_t> replay(const Bytes& content, std::vector<uint32_t> pieces, const std::vector<Call>& calls,
                            const std::string& row) {
    Recorded r;
    ql::DataFile f = open(ql::kModeWrite);
    uint32_t at = 0;
    pieces.push_back(static_cast<uint32_t>(content.size()));
    for (uint32_t n : pieces) {
        n = std::min(n, static_cast<uint32_t>(content.size()) - at);
        ql::writeStreamBytes(f, content.data() + at, n, &r.hook);
        at += n;
    }
    EXPECT_EQ(f.byteCount, static_cast<int32_t>(content.size())) << row;
    ql::closeStreamFile(f);
    f = open(ql::kModeRead);
    Model m{content};
    for (size_t i = 0; i < calls.size(); ++i) {
        const Call c = calls[i];
        const uint32_t cap = c.op == seek ? 0 : c.arg;
        Bytes got(cap + 4, 0xA5), want = got;
        uint32_t n = 0;
        uint8_t b = 0;
        bool stop = false;
        int64_t expected = 0, result = 0;
        if (c.op == seek) {
            expected = c.arg >= 0;
            if (expected) m.cursor = m.fillStart = m.fillEnd = c.arg;
            result = ql::seekStreamRead(f, c.arg);
        } else {  // a line ends at LF (and drops a CR before it); a wide field also ends at LF
            while (n < cap && !stop && m.next(&b)) {
                want[n++] = c.op == skip ? 0xA5 : b;
                stop = c.op == line ? b == '\n' : c.op == field ? b == c.term : c.op == wide && (b == c.term ? c.term < 128 : b == '\n');
            }
            if (c.op == line && n - stop < cap) want[n - stop] = 0;
            if (c.op == line && stop && n > 1 && want[n - 2] == '\r') want[n - 2] = 0;
            if (c.op == wide && stop && n < cap) want[n] = 0;
            if (c.op == wide && stop && m.next(&b)) ++n;  // the terminator's second byte
            const uint32_t end = n + 2 <= cap ? n : cap - 2;  // the 16-bit zero
            if (c.op == field || c.op == wide) want[end] = want[end + 1] = 0;
            expected = c.op == wide ? n / 2 : n;
            auto* text = reinterpret_cast<char*>(got.data());
            result = c.op == line    ? ql::readStreamLine(f, text, cap, &r.hook)
                     : c.op == field ? ql::readStreamField(f, got.data(), c.arg, c.term)
                     : c.op == wide  ? ql::readStreamWideField(f, got.data(), c.arg, c.term, true)
                                     : ql::readStreamBytes(f, c.op == bytes ? got.data() : nullptr, cap, &r.hook);
        }
        const std::string at = row + ", call " + std::to_string(i) + " op " + std::to_string(c.op) + " arg " +
                               std::to_string(c.arg);
        EXPECT_EQ(result, expected) << at;
        EXPECT_EQ(got, want) << at;
        EXPECT_EQ(ql::streamBufferPos(f), m.cursor - m.fillStart) << at;
        if (result != expected || got != want) break;
    }
    ql::closeStreamFile(f);
    return r.calls;
}

TEST(DatafileBuffer, EdgesOfTheBufferAndProgress) {
    const struct {
        const char* name;
        uint32_t size, markAt;  // a file of 'a' with `mark` at markAt (and CR before a LF)
        uint8_t mark;
        std::vector<uint32_t> pieces;
        std::vector<Call> calls;
        std::vector<int64_t> progress;  // checked when not empty
    } cases[] = {
        {"two whole fills straight through", 2 * kFill + 10, 0, 'a', {}, {{bytes, 2 * kFill}}, {}},
        {"straight read meets the end", kFill + 100, 0, 'a', {}, {{bytes, 200000}, {bytes, 5}}, {}},
        {"partial fill, then straight", 140000, 0, 'a', {}, {{skip, 10}, {bytes, 70000}}, {}},
        {"skip across a fill", 70000, 0, 'a', {}, {{skip, 70000}}, {}},
        {"CR ends one fill, LF starts the next", 70000, kFill, '\n', {}, {{skip, 65000}, {line, 2000}}, {}},
        {"line fills the capacity, then meets the end", 100, 9, '\n', {}, {{line, 9}, {line, 200}}, {}},
        {"wide: second byte from the next fill", 70000, kFill - 1, 9, {}, {{skip, 65500}, {wide, 1000, 9}}, {}},
        {"wide: terminator is the last byte", 11, 10, 9, {}, {{wide, 100, 9}}, {}},
        {"terminator above 127", 10, 3, 0x89, {}, {{wide, 100, 0x89}, {seek, 0}, {field, 100, 0x89}}, {}},
        {"field ends at the capacity", 100, 50, ',', {}, {{field, 20, ','}}, {}},
        {"seeks before the start and past the end", 100, 0, 'a', {}, {{skip, 50}, {seek, -1}, {seek, 1000}, {bytes, 5}}, {}},
        {"one long write, one long line", 150000, 0, 'a', {}, {{line, 200000}}, {0, 65536, 131072, -65536, -65536, -18928}},
        {"a full buffer waits for the next write", kFill + 1, 0, 'a', {kFill}, {{bytes, kFill + 2}}, {65536, -65536, -1}},
        {"a full buffer is written at the close", kFill, 0, 'a', {kFill}, {{bytes, kFill + 1}}, {-65536}},
    };
    for (const auto& c : cases) {
        Bytes content(c.size, 'a');
        content[c.markAt] = c.mark;
        if (c.mark == '\n') content[c.markAt - 1] = '\r';
        const std::vector<int64_t> progress = replay(content, c.pieces, c.calls, c.name);
        if (!c.progress.empty()) {
            EXPECT_EQ(progress, c.progress) << c.name;
        }
    }
    ql::DataFile closed{};
    ql::writeStreamBytes(closed, "abc", 3, nullptr);
    ql::writeStreamBytes(closed, "abc", 2, nullptr);
    EXPECT_EQ(closed.byteCount, 5) << "with no file open a write is only counted";
}

TEST(DatafileBuffer, RandomWritesReadBackLikeTheModel) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        auto below = [&](uint32_t n) { return n ? static_cast<uint32_t>(rng() % n) : 0u; };
        Bytes all;
        std::vector<uint32_t> pieces;
        for (int i = 0, writes = 1 + below(10); i < writes; ++i) {
            pieces.push_back(std::vector<uint32_t>{below(65), below(4097), 60000 + below(11000), below(200001)}[below(4)]);
            for (uint32_t k = 0; k < pieces.back(); ++k)
                all.push_back(below(6) == 0 ? "\n\r\t\0,\x80"[below(6)] : static_cast<uint8_t>(rng()));
        }
        std::vector<Call> calls{{bytes, static_cast<int32_t>(all.size()) + 1}, {seek, 0}};
        for (int i = 0; i < 100; ++i) {
            const auto op = static_cast<Op>(below(6));
            const uint32_t cap = (op == field || op == wide ? 2 : 0) + (below(8) == 0 ? below(140000) : below(300));
            calls.push_back({op, static_cast<int32_t>(op == seek ? below(static_cast<uint32_t>(all.size()) + 10) : cap),
                             static_cast<uint8_t>(below(2) ? '\t' : below(256))});
        }
        replay(all, pieces, calls, "seed " + std::to_string(seed));
    }
}

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
