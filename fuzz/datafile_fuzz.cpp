// The data file's readers, the field search over them, value lines and
// CopyLine, on random contents with random calls.
//
// Input: byte 0 repeats the contents (1 to 32 times, so files cross the
// 65536-byte buffer), byte 1 is the length of the call script, then the
// script (three bytes a call: kind and two parameters), then the contents.
// Destinations are allocated to the exact capacity with guard bytes after
// it; the sanitizers and the guard check catch any write past a capacity.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/text_fields.h"

namespace {

constexpr uint8_t kGuard = 0x5A;

void check(bool ok) {
    if (!ok) std::abort();
}

// A destination of exactly capacity bytes, guard bytes after it.
struct Dest {
    explicit Dest(uint32_t capacity) : capacity(capacity), bytes(capacity + 8, kGuard) {}
    ~Dest() {
        for (size_t i = capacity; i < bytes.size(); ++i) check(bytes[i] == kGuard);
    }
    uint32_t capacity;
    std::vector<uint8_t> bytes;
};

uint32_t capacityFrom(uint8_t a, uint8_t b) {
    const uint32_t v = uint32_t(a) << 8 | b;
    return (a & 0x80) ? v * 3 : v & 0x1FF;  // mostly small, sometimes beyond a buffer
}

// FindField as the operation composes it: wide fields until one matches.
int findField(ql::DataFile& f, const QLWChar* text) {
    QLWChar field[1024] = {};
    ql::FieldSearch search{false};
    for (;;) {
        const int32_t n = ql::readStreamWideField(f, reinterpret_cast<uint8_t*>(field), 1024, 9, true);
        const ql::FieldVerdict v = search.check(field, n, text);
        if (v != ql::FieldVerdict::next) return v == ql::FieldVerdict::found ? 0 : -1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    static const std::string name = "/tmp/ql-datafile-fuzz-" + std::to_string(getpid());
    static const std::u16string path(name.begin(), name.end());
    static const int removed = std::atexit([] { std::remove(name.c_str()); });
    (void)removed;
    const uint32_t repeat = 1 + data[0] % 32;
    const size_t scriptLen = std::min<size_t>(size - 2, size_t(data[1]) * 3);
    const uint8_t* script = data + 2;
    const uint8_t* contents = script + scriptLen;
    const size_t contentsLen = size - 2 - scriptLen;
    std::FILE* out = std::fopen(name.c_str(), "wb");
    for (uint32_t i = 0; i < repeat && contentsLen; ++i) std::fwrite(contents, 1, contentsLen, out);
    std::fclose(out);

    ql::DataFile f{};
    int32_t error = 0;
    check(ql::openStreamFile(f, error, path.c_str(), ql::kModeRead, false));
    for (size_t i = 0; i + 3 <= scriptLen; i += 3) {
        const uint8_t kind = script[i], a = script[i + 1], b = script[i + 2];
        Dest d(capacityFrom(a, b));
        uint8_t* to = d.bytes.data();
        switch (kind % 8) {
        case 0: check(ql::readStreamBytes(f, d.capacity ? to : nullptr, d.capacity, nullptr) <= d.capacity); break;
        case 1: ql::readStreamField(f, to, int32_t(d.capacity) - 2, kind); break;
        case 2: ql::readStreamWideField(f, to, int32_t(d.capacity) - 2, uint16_t(kind >> 3), kind & 0x80); break;
        case 3: check(ql::readStreamLine(f, reinterpret_cast<char*>(to), d.capacity, nullptr) <= d.capacity); break;
        case 4: ql::seekStreamRead(f, int32_t(int16_t(uint16_t(a) << 8 | b)) * 7); break;
        case 5: {  // the text to find: the next contents' units up to a zero
            std::u16string text;
            for (size_t k = 0; k + 1 < contentsLen && (contents[k] | contents[k + 1]); k += 2)
                text.push_back(char16_t(contents[k] | contents[k + 1] << 8));
            if (!text.empty()) findField(f, text.c_str());
            break;
        }
        case 6: check(ql::copyLine(contents, int32_t(contentsLen), to, d.capacity) <= d.capacity); break;
        default: {  // a value line of three kinds
            // Pointers go with kinds 1, 4 and 5 only: the double, read as a double.
            const int32_t onDouble[] = {0, 2, 3, 5, 9}, onNumber[] = {0, 2, 3, -1};
            const int32_t kinds[3] = {onDouble[(kind >> 3) % 5], onNumber[a % 4], onDouble[b % 5]};
            const double v = double(int16_t(uint16_t(a) << 8 | b)) / 7;
            const uint64_t values[3] = {uint64_t(uintptr_t(&v)), uint64_t(a) << 56 | b, uint64_t(uintptr_t(&v))};
            const char* const hex[3] = {"", "", ""};
            ql::ValueLine line;
            ql::composeValueLine(line, kinds, values, hex);
            break;
        }
        }
        check(ql::streamBufferPos(f) == 0xFFFFFFFFu || f.bufferPos + f.bufferAvail <= f.bufferSize);
    }
    ql::closeStreamFile(f);
    return 0;
}
