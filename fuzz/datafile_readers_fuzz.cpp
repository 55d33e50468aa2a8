// The readers of the data file on random contents with random calls.
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

#include "object/qlcommon_impl.h"

namespace {

constexpr uint8_t kGuard = 0x5A;

const std::basic_string<QLWChar>& scratchPath() {
    static const std::basic_string<QLWChar> path = [] {
        const std::string p = "/tmp/qlcommon-fuzz-readers-" + std::to_string(getpid()) + ".dat";
        std::atexit([] {
            const std::string q = "/tmp/qlcommon-fuzz-readers-" + std::to_string(getpid()) + ".dat";
            std::remove(q.c_str());
        });
        return std::basic_string<QLWChar>(p.begin(), p.end());
    }();
    return path;
}

void check(bool ok) {
    if (!ok) std::abort();
}

// A destination of exactly capacity bytes, guard bytes after it.
struct Dest {
    explicit Dest(uint32_t capacity) : capacity(capacity), bytes(capacity + 8, kGuard) {}
    void checkGuard() const {
        for (size_t i = capacity; i < bytes.size(); ++i) check(bytes[i] == kGuard);
    }
    uint32_t capacity;
    std::vector<uint8_t> bytes;
};

uint32_t capacityFrom(uint8_t a, uint8_t b) {
    const uint32_t v = uint32_t(a) << 8 | b;
    return (a & 0x80) ? v * 3 : v & 0x1FF;  // mostly small, sometimes beyond a buffer
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint32_t repeat = 1 + data[0] % 32;
    const size_t scriptLen = std::min<size_t>(size - 2, size_t(data[1]) * 3);
    const uint8_t* script = data + 2;
    const uint8_t* contents = script + scriptLen;
    const size_t contentsLen = size - 2 - scriptLen;

    std::string narrow(scratchPath().begin(), scratchPath().end());
    std::FILE* f = std::fopen(narrow.c_str(), "wb");
    for (uint32_t i = 0; i < repeat && contentsLen; ++i) std::fwrite(contents, 1, contentsLen, f);
    std::fclose(f);

    ICommon* obj = GetQLObject(nullptr);
    const ql::QLState& s = *static_cast<ql::QLCommon*>(obj)->state();
    check(obj->OpenFile(scratchPath().c_str(), qlModeRead, 0));
    for (size_t i = 0; i + 3 <= scriptLen; i += 3) {
        const uint8_t kind = script[i], a = script[i + 1], b = script[i + 2];
        Dest d(capacityFrom(a, b));
        switch (kind % 8) {
        case 0: check(obj->ReadBytes(d.capacity ? d.bytes.data() : nullptr, d.capacity) <= d.capacity); break;
        case 1: check(obj->ReadBlock(d.bytes.data(), d.capacity) <= d.capacity); break;
        case 2: obj->ReadField(reinterpret_cast<char*>(d.bytes.data()), int32_t(d.capacity) - 2, kind); break;
        case 3:
            obj->ReadWideField(reinterpret_cast<QLWChar*>(d.bytes.data()), int32_t(d.capacity) - 2,
                               uint16_t(kind >> 3), kind & 0x80);
            break;
        case 4: check(obj->ReadLine(reinterpret_cast<char*>(d.bytes.data()), d.capacity) <= d.capacity); break;
        case 5: obj->SeekRead(int32_t(int16_t(uint16_t(a) << 8 | b)) * 7); break;
        case 6: obj->ReadBytes(nullptr, d.capacity * 97); break;
        default: check(obj->GetBufferPos() <= 65536); break;
        }
        d.checkGuard();
        check(s.bufferPos + s.bufferAvail <= s.bufferSize);
    }
    obj->CloseFile();
    QLDestroy(obj);
    return 0;
}
