// The data file's buffer logic on real files: cases at the edges of the
// 65536-byte buffer, progress, and random writes read back with
// random reads against a model of the file and the buffer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "datafile/data_file.h"
#include "object/wide_text.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint32_t kFill = 65536;

// A scratch file of this run (its name holds the process id), written and
// read back with the C library, removed afterwards.
struct Scratch {
    std::string name = "/tmp/ql-datafile-" + std::to_string(getpid()) + "-\u00e9";
    std::u16string path = ql::fromUtf8(name);
    ~Scratch() { std::remove(name.c_str()); }
    void write(const Bytes& b) const {
        std::FILE* f = std::fopen(name.c_str(), "wb");
        std::fwrite(b.data(), 1, b.size(), f);
        std::fclose(f);
    }
    Bytes read() const {
        Bytes b(1 << 20);
        std::FILE* f = std::fopen(name.c_str(), "rb");
        b.resize(std::fread(b.data(), 1, b.size(), f));
        std::fclose(f);
        return b;
    }
    ql::DataFile open(uint32_t mode) const {
        ql::DataFile f{};
        int32_t error = 0;
        EXPECT_TRUE(ql::openStreamFile(f, error, path.c_str(), mode, false));
        return f;
    }
};

enum Op { bytes, skip, line, field, wide, seek };
const struct ReadCase {
    const char* name;
    uint32_t size, markAt;  // a file of 'a' with `mark` at markAt (and CR before a LF)
    uint8_t mark;
    uint32_t skipFirst;
    Op op;
    int32_t arg;  // count, capacity or offset
    uint16_t term;
    int64_t result;
    uint32_t bufferPos;
} kReadCases[] = {
    {"two whole fills straight through", 2 * kFill + 10, 0, 'a', 0, bytes, 2 * kFill, 0, 2 * kFill, kFill},
    {"straight read meets the end", kFill + 100, 0, 'a', 0, bytes, 200000, 0, kFill + 100, 0},
    {"partial fill, then straight", 140000, 0, 'a', 10, bytes, 70000, 0, 70000, 70000 - (kFill - 10)},
    {"skip across a fill", 70000, 0, 'a', 0, skip, 70000, 0, 70000, 70000 - kFill},
    {"CR ends one fill, LF starts the next", 70000, kFill, '\n', 65000, line, 2000, 0, 537, 1},
    {"line fills the capacity", 100, 9, '\n', 0, line, 9, 0, 9, 9},
    {"line meets the end of the file", 10, 0, 'a', 0, line, 100, 0, 10, 0},
    {"wide: second byte from the next fill", 70000, kFill - 1, 9, 65500, wide, 1000, 9, 18, 1},
    {"wide: terminator is the last byte", 11, 10, 9, 0, wide, 100, 9, 5, 0},
    {"wide: terminator above 127", 10, 3, 0x89, 0, wide, 100, 0x89, 5, 0},
    {"field ends at the capacity", 100, 50, ',', 0, field, 20, ',', 20, 20},
    {"seek past the end", 100, 0, 'a', 50, seek, 1000, 0, 1, 0},
    {"seek before the start", 100, 0, 'a', 50, seek, -1, 0, 0, 50},
};

TEST(DatafileBuffer, ReadsAtTheEdgesOfTheBuffer) {
    Scratch file;
    for (const ReadCase& c : kReadCases) {
        Bytes content(c.size, 'a');
        content[c.markAt] = c.mark;
        if (c.mark == '\n' && c.markAt > 0) content[c.markAt - 1] = '\r';
        file.write(content);
        ql::DataFile f = file.open(ql::kModeRead);
        std::vector<char> out(static_cast<size_t>(c.op == seek ? 0 : c.arg) + 2);
        auto* o = reinterpret_cast<uint8_t*>(out.data());
        ql::readStreamBytes(f, nullptr, c.skipFirst, nullptr);
        const int64_t result = c.op == bytes  ? ql::readStreamBytes(f, o, c.arg, nullptr)
                               : c.op == skip  ? ql::readStreamBytes(f, nullptr, c.arg, nullptr)
                               : c.op == line  ? ql::readStreamLine(f, out.data(), c.arg, nullptr)
                               : c.op == field ? ql::readStreamField(f, o, c.arg, static_cast<uint8_t>(c.term))
                               : c.op == wide  ? ql::readStreamWideField(f, o, c.arg, c.term, false)
                                               : ql::seekStreamRead(f, c.arg);
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(ql::streamBufferPos(f), c.bufferPos) << c.name;
        if (c.op == line && c.skipFirst > 0) {  // the CR before the LF is cleared too
            EXPECT_EQ(std::string(out.data()).size(), c.result - 2u) << c.name;
        }
        ql::closeStreamFile(f);
    }
}

struct Recorded {
    std::vector<int64_t> calls;  // flushes as byteCount, fetches as -bytes
    ql::Progress hook{[](void* c, int32_t n) { static_cast<Recorded*>(c)->calls.push_back(n); },
                      [](void* c, uint32_t n) { static_cast<Recorded*>(c)->calls.push_back(-int64_t{n}); }, this};
};

TEST(DatafileBuffer, WritesFlushFullBuffersWithProgress) {
    const struct { std::vector<uint32_t> writes; std::vector<int64_t> flushes; } cases[] = {
        {{150000}, {0, 65536, 131072}}, {{kFill, 1}, {65536}}, {{kFill}, {}}};
    Scratch file;
    for (const auto& c : cases) {
        ql::DataFile f = file.open(ql::kModeWrite);
        Recorded r;
        Bytes all;
        for (uint32_t n : c.writes) {
            Bytes piece(n);
            for (auto& b : piece) b = static_cast<uint8_t>(all.size() * 7 + (&b - piece.data()));
            ql::writeStreamBytes(f, piece.data(), n, &r.hook);
            all.insert(all.end(), piece.begin(), piece.end());
        }
        EXPECT_EQ(f.byteCount, static_cast<int32_t>(all.size()));
        EXPECT_EQ(r.calls, c.flushes) << "first write " << c.writes[0];
        ql::closeStreamFile(f);
        EXPECT_EQ(file.read(), all) << "first write " << c.writes[0];
    }
    file.write(Bytes(150000, 'x'));
    ql::DataFile f = file.open(ql::kModeRead);
    Recorded r;
    char line[100];
    while (ql::readStreamLine(f, line, 100, &r.hook) != 0) {
    }
    EXPECT_EQ(r.calls, (std::vector<int64_t>{-65536, -65536, -18928}));
    ql::closeStreamFile(f);
    ql::writeStreamBytes(f, line, 10, nullptr);
    ql::writeStreamBytes(f, line, 20, nullptr);
    EXPECT_EQ(f.byteCount, 30) << "with no file open a write is only counted";
}

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

TEST(DatafileBuffer, RandomWritesReadBackLikeTheModel) {
    Scratch file;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        auto below = [&](uint32_t n) { return n ? static_cast<uint32_t>(rng() % n) : 0u; };
        Model m;
        ql::DataFile f = file.open(ql::kModeWrite);
        for (int i = 0, writes = 1 + below(10); i < writes; ++i) {
            Bytes piece(std::vector<uint32_t>{below(65), below(4097), 60000 + below(11000), below(200001)}[below(4)]);
            for (auto& b : piece) b = below(6) == 0 ? "\n\r\t\0,\x80"[below(6)] : static_cast<uint8_t>(rng());
            ql::writeStreamBytes(f, piece.data(), static_cast<uint32_t>(piece.size()), nullptr);
            m.file.insert(m.file.end(), piece.begin(), piece.end());
        }
        ql::closeStreamFile(f);
        f = file.open(ql::kModeRead);
        for (int i = 0; i < 100; ++i) {
            const uint32_t op = below(5), cap = (op == 2 || op == 4 ? 2 : 0) + (below(8) == 0 ? below(140000) : below(300));
            const uint8_t term = below(2) ? '\t' : static_cast<uint8_t>(below(128));
            Bytes got(cap + 4, 0xA5), want = got;
            uint32_t n = 0, result = 0;
            uint8_t b = 0;
            if (op == 0) {  // bytes
                for (; n < cap && m.next(&b); ++n) want[n] = b;
                result = ql::readStreamBytes(f, got.data(), cap, nullptr) == n;
            } else if (op == 1) {  // line
                bool lf = false;
                while (n < cap && m.next(&b) && !(lf = b == '\n')) want[n++] = b;
                if (n < cap) want[n] = 0;
                if (lf && n > 0 && want[n - 1] == '\r') want[n - 1] = 0;
                result = ql::readStreamLine(f, reinterpret_cast<char*>(got.data()), cap, nullptr) == n + lf;
            } else if (op == 2) {  // wide field ended by term or LF
                bool matched = false;
                while (n < cap && !matched && m.next(&b)) matched = (want[n++] = b) == term || b == '\n';
                if (matched && n < cap) want[n] = 0;
                if (matched && m.next(&b)) ++n;
                want[n + 2 <= cap ? n : cap - 2] = want[(n + 2 <= cap ? n : cap - 2) + 1] = 0;
                result = ql::readStreamWideField(f, got.data(), static_cast<int32_t>(cap), term, true) == int32_t(n / 2);
            } else if (op == 4) {  // field ended by term, 16-bit zero after it or over the capacity's end
                while (n < cap && m.next(&b) && (want[n++] = b) != term) {
                }
                want[n + 2 <= cap ? n : cap - 2] = want[(n + 2 <= cap ? n : cap - 2) + 1] = 0;
                result = ql::readStreamField(f, got.data(), static_cast<int32_t>(cap), term) == int32_t(n);
            } else {  // seek
                const uint32_t to = below(static_cast<uint32_t>(m.file.size()) + 10);
                m.cursor = m.fillStart = m.fillEnd = to;
                result = ql::seekStreamRead(f, static_cast<int32_t>(to));
            }
            const std::string row = "seed " + std::to_string(seed) + " read " + std::to_string(i) + " op " +
                                    std::to_string(op) + " capacity " + std::to_string(cap);
            ASSERT_EQ(result, 1u) << row;
            ASSERT_EQ(got, want) << row;
            ASSERT_EQ(ql::streamBufferPos(f), m.cursor - m.fillStart) << row;
        }
        ql::closeStreamFile(f);
    }
}

}  // namespace
