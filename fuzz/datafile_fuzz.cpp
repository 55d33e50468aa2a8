// The data file's readers and CopyLine on random contents with random calls.
// Input: byte 0 repeats the contents (1 to 32 times, so files cross the
// 65536-byte buffer), byte 1 is the number of calls, then the calls (three
// bytes each: kind and two for the capacity), then the contents.
// Destinations are exactly the capacity long: the sanitizers catch any
// write past it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/text_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    static const std::string name = "/tmp/ql-datafile-fuzz-" + std::to_string(getpid());
    static const int removed = std::atexit([] { std::remove(name.c_str()); });
    (void)removed;
    const size_t scriptLen = std::min<size_t>(size - 2, size_t(data[1]) * 3), contentsLen = size - 2 - scriptLen;
    const uint8_t *script = data + 2, *contents = script + scriptLen;
    std::FILE* out = std::fopen(name.c_str(), "wb");
    for (int i = 0; i <= data[0] % 32 && contentsLen; ++i) std::fwrite(contents, 1, contentsLen, out);
    std::fclose(out);
    ql::DataFile f{};
    int32_t error = 0;
    if (!ql::openStreamFile(f, error, std::u16string(name.begin(), name.end()).c_str(), ql::kModeRead, false)) std::abort();
    for (size_t i = 0; i + 3 <= scriptLen; i += 3) {
        const uint8_t kind = script[i], a = script[i + 1], b = script[i + 2];
        const uint32_t v = uint32_t(a) << 8 | b, cap = (a & 0x80) ? v * 3 : v & 0x1FF;  // sometimes beyond a buffer
        std::vector<uint8_t> d(cap);
        uint8_t* to = cap ? d.data() : nullptr;
        uint32_t got = cap;
        switch (kind % 6) {
        case 0: got = ql::readStreamBytes(f, to, cap, nullptr); break;
        case 1: ql::readStreamField(f, to, int32_t(cap), kind); break;
        case 2: ql::readStreamWideField(f, to, int32_t(cap), uint16_t(kind >> 3), kind & 0x80); break;
        case 3: got = ql::readStreamLine(f, reinterpret_cast<char*>(to), cap, nullptr); break;
        case 4: ql::seekStreamRead(f, int32_t(int16_t(v)) * 7); break;
        default: got = ql::copyLine(contents, int32_t(contentsLen), to, cap);
        }
        if (got > cap || (ql::streamBufferPos(f) != 0xFFFFFFFFu && f.bufferPos + f.bufferAvail > f.bufferSize)) std::abort();
    }
    ql::closeStreamFile(f);
    return 0;
}
