// The data file's writers and readers in one sequence per input, checked after every call against a model
// of the file.  An input is a list of calls: a byte names one (its high bit: append, skip or stop at a line
// feed), the bytes after it are its arguments, 0 past the end.  Each input truncates the scratch file by
// opening it for writing and ends by reading it all back.  Every destination has guard bytes after it.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/wide_text.h"
#include "datafile/data_file.h"
#include "datafile/text_fields.h"

namespace {

// One scratch file for the process, in a folder of its own, in memory.
std::string folder = "/dev/shm/ql-datafile-XXXXXX";
const std::string kFile = mkdtemp(&folder[0]) ? folder + "/data" : "";
const std::u16string kPath = ql::fromUtf8(kFile);
void removeScratch() {
    std::remove(kFile.c_str());
    rmdir(folder.c_str());
}
const int kAtExit = std::atexit(removeScratch);

[[noreturn]] void fail(const char* what, int line) {
    std::fprintf(stderr, "datafile_fuzz.cpp:%d: the model expected %s\n", line, what);
    removeScratch();
    std::abort();
}
#define REQUIRE(c) ((c) ? void() : fail(#c, __LINE__))

// Long pieces come from here: random bytes, one in five a byte the readers stop at.
const std::vector<uint8_t> kPattern = [] {
    std::vector<uint8_t> p(1 << 18);
    uint32_t x = 1;
    for (uint8_t& b : p) {
        x = x * 1103515245u + 12345u;
        b = (x >> 8) % 5 ? static_cast<uint8_t>(x >> 24) : "\t\n\r,\0"[(x >> 16) % 5];
    }
    return p;
}();

enum Op {
    openWrite, openRead, closeFile, writeShort, writeLong, writeNull, valueLine, writeToDisk,
    readBytes, readField, readWide, readLine, seek, kOps
};

struct Input {
    const uint8_t* p;
    size_t left;
    uint32_t take(size_t n) {  // n bytes, the last four as a big-endian number
        uint32_t v = 0;
        for (size_t i = 0; i < n; ++i) v = v << 8 | (i < left ? p[i] : 0);
        p += std::min(n, left);
        left -= std::min(n, left);
        return v;
    }
};

// The file's bytes, waiting ones too, and how many of them reached the disk; the mode and GetByteCount;
// while reading, the next byte and the buffer fill it lies in.
struct Model {
    std::string file;
    size_t disk = 0;
    uint32_t mode = 0, count = 0;
    size_t cursor = 0, fillStart = 0, fillEnd = 0;

    // The waiting bytes go to the disk when the next piece does not fit beside them.  The disk's take that
    // `refuseAt` counts down to keeps `keep` of them and refuses; the call then keeps what still fits and
    // drops the rest of its bytes.
    void write(const char* data, uint32_t n, uint32_t refuseAt, uint32_t keep) {
        if (mode != ql::kModeWrite || !data) {
            count += mode != ql::kModeWrite ? n : 0;  // no file: only counted; null data: nothing
            return;
        }
        uint32_t taken = 0;
        for (bool refused = false; taken < n && !refused;) {
            if (file.size() - disk + (n - taken) > 65536 && file.size() != disk) {
                refused = refuseAt-- == 0;
                disk = refused ? disk + std::min<size_t>(keep, file.size() - disk) : file.size();
            }
            const size_t k = std::min<size_t>(n - taken, 65536 - (file.size() - disk));
            file.append(data + taken, k);
            taken += static_cast<uint32_t>(k);
        }
        count += taken;
    }
    bool filled() {  // a byte to take; an empty buffer takes the next 65536
        if (cursor == fillEnd) {
            fillStart = cursor;
            fillEnd = std::max(cursor, std::min(file.size(), cursor + 65536));
        }
        return cursor < fillEnd;
    }
    // What a reader returns and leaves in out: the bytes in order up to its stop.
    int64_t read(Op op, uint8_t* out, uint32_t cap, uint8_t term, bool lineFeed) {
        if (mode != ql::kModeRead || cap < (op == readField || op == readWide ? 2u : 1u)) return 0;
        uint32_t n = 0;
        bool stop = false;
        for (uint32_t k = 0; op == readBytes && n < cap && filled(); n += k) {  // whole pieces of a fill
            k = static_cast<uint32_t>(std::min<size_t>(cap - n, fillEnd - cursor));
            if (out) file.copy(reinterpret_cast<char*>(out) + n, k, cursor);
            cursor += k;
        }
        while (op != readBytes && n < cap && !stop && filled()) {
            const auto b = static_cast<uint8_t>(file[cursor++]);
            out[n++] = b;
            stop = op == readLine ? b == '\n' : op == readField ? b == term : static_cast<int8_t>(b) == term;
            stop = stop || (op == readWide && lineFeed && b == '\n');
        }
        if (op == readLine && stop && n > 1 && out[n - 2] == '\r') out[n - 2] = 0;
        if (op == readLine && (stop || n < cap)) out[stop ? n - 1 : n] = 0;
        if (op == readBytes || op == readLine) return n;
        if (op == readWide && stop && n < cap) out[n] = 0;
        if (op == readWide && stop && filled()) {  // the terminator's second byte: taken, not stored
            ++cursor;
            ++n;
        }
        out[std::min(n, cap - 2)] = 0;  // a 16-bit zero after the bytes, within the capacity
        out[std::min(n, cap - 2) + 1] = 0;
        return op == readWide ? n / 2 : n;
    }
};

// A disk that, at its `refuseAt`-th take counted from 0, keeps only the front `keep` bytes and refuses, as a
// full disk does; what it takes goes to the scratch file.  It claims all `keep` even when offered fewer.
struct Disk {
    std::FILE* file;
    uint32_t refuseAt, keep;
};
bool diskWrite(void* context, const uint8_t* bytes, uint32_t count, uint32_t* taken) {
    Disk& d = *static_cast<Disk*>(context);
    const bool refuses = d.refuseAt-- == 0;
    std::fwrite(bytes, 1, refuses ? std::min(count, d.keep) : count, d.file);
    *taken = d.keep;
    return !refuses;
}

// The writer under test, and the model told of the write: the stream writer, or with `refuseAt` below ~0u
// the write loop both back ends share, with a disk that refuses.
void write(ql::DataFile& f, Model& m, const void* data, uint32_t n, uint32_t refuseAt = ~0u, uint32_t keep = 0) {
    static const ql::Progress progress{[](void*, int32_t) {}, [](void*, uint32_t) {}, nullptr};
    Disk disk{f.stream.get(), refuseAt, keep};
    const ql::WriteSink sink{diskWrite, &disk};
    if (refuseAt == ~0u) ql::writeStreamBytes(f, data, n, &progress);
    else ql::writeBuffered(f, data, n, f.stream ? &sink : nullptr, &progress);
    m.write(static_cast<const char*>(data), n, refuseAt, keep);
}

void open(ql::DataFile& f, Model& m, uint32_t mode, bool append) {
    int32_t error = 0;
    REQUIRE(ql::openStreamFile(f, error, kPath.c_str(), mode, append));
    if (!append && mode == ql::kModeWrite) m.file.clear();
    m.disk = m.file.size();  // an open over a file being written writes its waiting bytes first
    m.mode = mode;
    m.count = mode == ql::kModeRead ? static_cast<uint32_t>(m.file.size()) : 0;
    m.cursor = m.fillStart = m.fillEnd = 0;
}

void read(ql::DataFile& f, Model& m, Op op, uint32_t cap, uint8_t term, bool flag) {
    static std::vector<uint8_t> got, want;
    got.assign(cap + 8, 0xA5);
    want.assign(cap + 8, 0xA5);
    uint8_t* to = op == readBytes && flag ? nullptr : got.data();  // ReadBytes with no destination skips
    int64_t result = 0;
    if (op == readBytes) result = ql::readStreamBytes(f, to, cap, nullptr);
    if (op == readField) result = ql::readStreamField(f, to, static_cast<int32_t>(cap), term);
    if (op == readWide) result = ql::readStreamWideField(f, to, static_cast<int32_t>(cap), term, flag);
    if (op == readLine) result = ql::readStreamLine(f, reinterpret_cast<char*>(to), cap, nullptr);
    REQUIRE(result == m.read(op, to ? want.data() : nullptr, cap, term, flag));
    REQUIRE(got == want);
}

// A value line of three values, each a kind (0 and 6 unknown) and 8 bytes: a double, a float, an int or a
// text of 4 units, as the kind says.  Its text is the core test's to check; here its parts, each written on
// its own, are bytes that must reach the file in order like any others.
void writeValueLine(Input& in, ql::DataFile& f, Model& m) {
    int32_t kinds[3];
    uint64_t values[3], bits[3];
    double doubles[3];
    float floats[3];
    char16_t texts[3][5] = {};
    const char* const hex[3] = {"0x00000000'00000000", "0x12345678'9abcdef0", "0xffffffff'ffffffff"};
    for (int k = 0; k < 3; ++k) {
        kinds[k] = static_cast<int32_t>(in.take(1) % 7);
        bits[k] = uint64_t{in.take(4)} << 32 | in.take(4);
        std::memcpy(&doubles[k], &bits[k], 8);
        std::memcpy(&floats[k], &bits[k], 4);
        std::memcpy(texts[k], &bits[k], 8);
        const void* pointers[] = {nullptr, texts[k], nullptr, nullptr, &floats[k], &doubles[k], nullptr};
        values[k] = pointers[kinds[k]] ? reinterpret_cast<uintptr_t>(pointers[kinds[k]]) : bits[k];
    }
    if (m.mode == 0) return;  // the DLL writes a value line only while a stream is open
    ql::ValueLine line;
    ql::composeValueLine(line, kinds, values, hex);
    for (int i = 0, at = 0; i < line.parts; at = line.ends[i++]) write(f, m, line.text + at, line.ends[i] - at);
}

// What a host relies on after every call: the mode and the byte count; the counters within the buffer;
// every byte accepted either in the file or waiting; a reader's place in its buffer fill.
void check(const ql::DataFile& f, const Model& m) {
    REQUIRE(f.openMode == m.mode);
    REQUIRE(static_cast<uint32_t>(f.byteCount) == m.count);
    REQUIRE(f.bufferSize == (m.mode ? 65536u : 0u));
    REQUIRE(uint64_t{f.bufferPos} + f.bufferAvail <= f.bufferSize);
    struct stat st {};
    REQUIRE(m.mode != ql::kModeWrite || fstat(fileno(f.stream.get()), &st) == 0);
    REQUIRE(m.mode != ql::kModeWrite || f.bufferPos + f.bufferAvail == f.bufferSize);
    REQUIRE(m.mode != ql::kModeWrite || static_cast<size_t>(st.st_size) == m.disk);
    REQUIRE(m.mode != ql::kModeWrite || f.bufferPos == m.file.size() - m.disk);
    REQUIRE(ql::streamBufferPos(f) == (m.mode == ql::kModeRead ? m.cursor - m.fillStart : 0xFFFFFFFFu));
    REQUIRE(m.mode != ql::kModeRead || f.bufferAvail == m.fillEnd - m.cursor);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    REQUIRE(!kFile.empty());
    Input in{data, size};
    ql::DataFile f{};
    static Model m;     // keeps its storage; the first open starts it again
    uint32_t work = 0;  // so that every input stays quick: 256 KiB written or read, an open counting 16 KiB
    open(f, m, ql::kModeWrite, false);
    while (in.left) {
        const uint32_t call = in.take(1);
        const uint32_t arg = in.take(3);
        const auto op = static_cast<Op>(call % kOps);
        const bool flag = call & 0x80;
        // A count or capacity; with the top bit, in eights up to four buffers.
        const uint32_t n = (arg >> 8 & 0x7FFF) * (arg >> 23 ? 8 : 1);
        const uint32_t piece = op == writeShort ? std::min(arg & 0xFF, static_cast<uint32_t>(in.left)) : arg & 0x3FFFF;
        const bool long_ = op == writeLong || op == writeToDisk;
        if ((work += op <= openRead ? 1 << 14 : long_ ? piece : op >= readBytes ? n : 0) > 1 << 18) continue;
        switch (op) {
        case openWrite:
        case openRead:
            open(f, m, op == openRead ? ql::kModeRead : ql::kModeWrite, flag);
            break;
        case closeFile:
            ql::closeStreamFile(f);
            m.mode = m.count = 0;
            break;
        case writeShort:  // from the input itself
            write(f, m, in.p, piece);
            in.take(piece);
            break;
        case writeLong:
            write(f, m, &kPattern[kPattern.size() - piece], piece);
            break;
        case writeToDisk:  // the disk refuses its take `arg >> 20`, keeping up to 65535 bytes
            write(f, m, &kPattern[kPattern.size() - piece], piece, arg >> 20, in.take(2));
            break;
        case writeNull:
            write(f, m, nullptr, n);
            break;
        case valueLine:
            writeValueLine(in, f, m);
            break;
        case seek: {
            const int32_t offset = static_cast<int16_t>(arg >> 8) * 5;
            const bool moves = m.mode == ql::kModeRead && offset >= 0;  // else nothing changes
            REQUIRE(ql::seekStreamRead(f, offset) == moves);
            if (moves) m.cursor = m.fillStart = m.fillEnd = static_cast<size_t>(offset);
            break;
        }
        default:
            read(f, m, op, n, static_cast<uint8_t>(arg), flag);
        }
        check(f, m);
    }
    ql::closeStreamFile(f);
    m.mode = 0;
    open(f, m, ql::kModeRead, false);
    read(f, m, readBytes, static_cast<uint32_t>(m.file.size()) + 1, 0, false);
    check(f, m);
    ql::closeStreamFile(f);
    return 0;
}
