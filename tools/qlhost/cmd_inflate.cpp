// qlhost inflate IN OUT: decompresses a zlib stream from the file IN into
// the file OUT through the library, 1 MB of output room per InflateBlock,
// and prints the sizes.  The library loads ZLIB1.dll from its cache folder.
#include <cstdio>
#include <vector>

#include "qlhost.h"

namespace qlhost {
namespace {

bool readWhole(const std::wstring& path, std::vector<unsigned char>& bytes) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return false;
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return true;
}

int runInflate(Library& lib, const Args& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qlhost inflate IN OUT\n");
        return 2;
    }
    std::vector<unsigned char> in;
    if (!readWhole(args[0], in) || in.empty()) {
        std::fprintf(stderr, "qlhost: cannot read %s\n", narrow(args[0]).c_str());
        return 1;
    }
    Service s(lib);
    if (!s->InflateBegin(in.data(), static_cast<uint32_t>(in.size()), codecZlib)) {
        wchar_t cache[1024] = {};
        s->GetCacheFolder(cache, 1024);
        std::fprintf(stderr, "qlhost: cannot start: is zlib's ZLIB1.dll in %s?\n", narrow(cache).c_str());
        return 1;
    }
    FILE* out = _wfopen(args[1].c_str(), L"wb");
    if (!out) {
        std::fprintf(stderr, "qlhost: cannot write %s\n", narrow(args[1]).c_str());
        s->InflateFinish(codecZlib);
        return 1;
    }
    std::vector<unsigned char> room(1 << 20);
    uint32_t produced = 0, written = 0;
    bool done = false;
    for (;;) {
        done = s->InflateBlock(in.data(), static_cast<int32_t>(in.size()), room.data(),
                               static_cast<uint32_t>(room.size()), &produced, codecZlib);
        const uint32_t fresh = produced - written;  // produced counts since InflateBegin
        std::fwrite(room.data(), 1, fresh, out);
        written = produced;
        if (done || fresh < room.size()) break;  // the end, or no progress with a full buffer's room
    }
    s->InflateFinish(codecZlib);
    std::fclose(out);
    std::printf("compressed:   %zu bytes\n", in.size());
    std::printf("decompressed: %u bytes\n", written);
    if (!done) {
        std::fprintf(stderr, "qlhost: the stream is truncated or corrupt\n");
        return 1;
    }
    return 0;
}

const bool registered = registerCommand(
    {"inflate", "IN OUT", "decompresses a zlib stream from IN into OUT (ZLIB1.dll must be in the cache folder)",
     runInflate});

}  // namespace
}  // namespace qlhost
