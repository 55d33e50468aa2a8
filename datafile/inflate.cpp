// zlib decompression through the library loaded at run time (slots 63-65),
// and line copying out of memory blocks (slot 66).
//
// The library is not linked against zlib.  The first InflateBegin loads the
// zlib file from the cache folder; each entry point is fetched by name the
// first time it is needed and kept.  A failed load or a missing entry point
// answers false and is tried again next time.
#include <algorithm>
#include <memory>

#include "datafile/inflate_library.h"
#include "object/qlcommon_impl.h"
#include "object/wide_text.h"

namespace ql {

namespace {

constexpr int32_t kCodecZlib = 1;
constexpr size_t kLibraryPathSize = 1024;
constexpr uint8_t kLineFeed = 10;

ZStreamRecord* record(QLState& s) { return static_cast<ZStreamRecord*>(s.zStream); }

// Fetches `name` into `slot` unless it is there already; true when present.
template <typename Fn>
bool fetch(QLState& s, Fn& slot, const char* name) {
    if (!slot) slot = reinterpret_cast<Fn>(libraryLoader().GetProcAddress(s.zlibModule, name));
    return slot != nullptr;
}

}  // namespace

QLBool QLCommon::InflateBegin(const void* input, uint32_t inputLength, int32_t kind) {
    if (!state_ || kind != kCodecZlib) return 0;
    QLState& s = *state_;
    if (!s.zlibModule) {
        QLWChar path[kLibraryPathSize] = {};
        call(&ICommonVtbl::GetCacheFolder, path, static_cast<int32_t>(kLibraryPathSize));
        // Without a cache folder there is no file to load: a bare file name
        // would send the loader searching elsewhere.
        if (path[0] == 0 || !appendBounded(path, kLibraryPathSize, kZlibFileName)) return 0;
        s.zlibModule = libraryLoader().LoadLibraryExW(path, nullptr, kLoadWithAlteredSearchPath);
    }
    if (!s.zlibModule) return 0;
    if (!fetch(s, s.inflateInitFn, "inflateInit_")) return 0;
    if (!s.zStream) {
        // Zero-filled: an InflateBlock after a failed start then meets a
        // record without zlib state, which zlib refuses cleanly.
        s.zStream = std::make_unique<ZStreamRecord>().release();  // owned by the record; see releaseZStream
    }
    ZStreamRecord& z = *record(s);
    z.next_in = static_cast<const uint8_t*>(input);
    z.avail_in = inputLength;
    z.zalloc = nullptr;  // zlib's own allocator
    z.zfree = nullptr;
    z.opaque = nullptr;
    return s.inflateInitFn(&z, kZlibVersion, static_cast<int>(sizeof(ZStreamRecord))) == kZOk;
}

QLBool QLCommon::InflateBlock(const void* input, int32_t inputLength, void* output, uint32_t room,
                              uint32_t* produced, int32_t kind) {
    if (!input || inputLength <= 0 || !output || !produced) return 0;
    *produced = 0;
    if (!state_ || kind != kCodecZlib) return 0;
    QLState& s = *state_;
    if (!s.zlibModule || !s.zStream) return 0;
    if (!fetch(s, s.inflateFn, "inflate")) return 0;
    // The input was set by InflateBegin; inflate continues where it stopped.
    ZStreamRecord& z = *record(s);
    z.next_out = static_cast<uint8_t*>(output);
    z.avail_out = room;
    const int result = s.inflateFn(&z, kZNoFlush);
    *produced = static_cast<uint32_t>(z.total_out);
    return result == kZStreamEnd;
}

void QLCommon::InflateFinish(int32_t kind) {
    if (!state_ || kind != kCodecZlib) return;
    QLState& s = *state_;
    if (!s.zlibModule || !s.zStream) return;  // nothing was ever started
    if (fetch(s, s.inflateEndFn, "inflateEnd")) s.inflateEndFn(s.zStream);
}

uint32_t QLCommon::CopyLine(const void* source, int32_t sourceLength, void* dest, uint32_t capacity) {
    if (!source || sourceLength <= 0 || !dest || capacity == 0) return 0;
    const auto* from = static_cast<const uint8_t*>(source);
    auto* to = static_cast<uint8_t*>(dest);
    const uint32_t limit = std::min(static_cast<uint32_t>(sourceLength), capacity);
    uint32_t copied = 0;
    while (copied < limit) {
        const uint8_t byte = from[copied];
        to[copied++] = byte;
        if (byte == kLineFeed) break;
    }
    return copied;
}

void releaseZlibModule(QLState& s) {
    if (s.zlibModule && libraryLoader().FreeLibrary(s.zlibModule)) s.zlibModule = nullptr;
}

void releaseZStream(QLState& s) {
    // inflateEnd is not called: the library may be unloaded already.  A
    // host ends every started block with InflateFinish.
    std::unique_ptr<ZStreamRecord> owned(record(s));
    s.zStream = nullptr;
}

}  // namespace ql
