// zlib decompression through the library loaded at run time (slots 63-65).
//
// The library is not linked against zlib.  The first InflateBegin loads
// ZLIB1.dll from the cache folder; each entry point is fetched by name the
// first time it is needed and kept.  A failed load or a missing entry point
// answers false and is tried again next time.
#include <windows.h>

#include <memory>

#include "base/wide_text.h"
#include "object/win32/qlcommon_impl.h"

namespace ql {

namespace {

constexpr int32_t kCodecZlib = 1;
// Not the working size: the cache folder alone may take 511 units and the
// file name must fit after it.  A host that replaced GetCacheFolder sees it.
constexpr size_t kLibraryPathSize = 1024;
constexpr int kZOk = 0;
constexpr int kZStreamEnd = 1;
constexpr int kZNoFlush = 0;

// Fetches `name` into `slot` unless it is there already; true when present.
template <typename Fn>
bool fetch(const QLState& s, Fn& slot, const char* name) {
    if (!slot) {
        const FARPROC entry = ::GetProcAddress(s.zlibModule.get(), name);
        slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(entry));
    }
    return slot != nullptr;
}

}  // namespace

// The destroyer's unload.  The holder forgets the module whether or not the
// system unloads it: the record is freed right after, so nobody could see
// the difference.
void unloadLibrary(HMODULE module) { ::FreeLibrary(module); }

QLBool QLCommon::InflateBegin(const void* input, uint32_t inputLength, int32_t kind) {
    if (!state_ || kind != kCodecZlib) return 0;
    QLState& s = *state_;
    if (!s.zlibModule) {
        QLWChar path[kLibraryPathSize] = {};
        call(&ICommonVtbl::GetCacheFolder, path, static_cast<int32_t>(kLibraryPathSize));
        // Without a cache folder there is no file to load: a bare file name
        // would send the loader searching elsewhere.
        if (path[0] == 0 || !appendBounded(path, kLibraryPathSize, L"\\ZLIB1.dll")) return 0;
        s.zlibModule.reset(::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    }
    if (!s.zlibModule || !fetch(s, s.inflateInitFn, "inflateInit_")) return 0;
    // Zero-filled: an InflateBlock after a failed start then meets a record
    // without zlib state, which zlib refuses cleanly.
    if (!s.zStream) s.zStream = std::make_unique<ZStreamRecord>();
    ZStreamRecord& z = *s.zStream;
    z.next_in = static_cast<const uint8_t*>(input);
    z.avail_in = inputLength;
    z.zalloc = nullptr;  // zlib's own allocator
    z.zfree = nullptr;
    z.opaque = nullptr;
    return s.inflateInitFn(&z, "1.3.1", static_cast<int>(sizeof(ZStreamRecord))) == kZOk;
}

// The input and its length are checked but not used: inflate continues with
// the input InflateBegin set, where the last call stopped.
QLBool QLCommon::InflateBlock(const void* input, int32_t inputLength, void* output, uint32_t room,
                              uint32_t* produced, int32_t kind) {
    if (!input || inputLength <= 0 || !output || !produced) return 0;
    *produced = 0;
    if (!state_ || kind != kCodecZlib) return 0;
    QLState& s = *state_;
    if (!s.zlibModule || !s.zStream || !fetch(s, s.inflateFn, "inflate")) return 0;
    ZStreamRecord& z = *s.zStream;
    z.next_out = static_cast<uint8_t*>(output);
    z.avail_out = room;
    const int result = s.inflateFn(&z, kZNoFlush);
    *produced = static_cast<uint32_t>(z.total_out);
    return result == kZStreamEnd;
}

// The stream record and the library stay until the object is destroyed.
void QLCommon::InflateFinish(int32_t kind) {
    if (!state_ || kind != kCodecZlib) return;
    QLState& s = *state_;
    if (!s.zlibModule || !s.zStream) return;  // nothing was ever started
    if (fetch(s, s.inflateEndFn, "inflateEnd")) s.inflateEndFn(s.zStream.get());
}

}  // namespace ql
