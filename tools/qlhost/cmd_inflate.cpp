// qlhost inflate IN OUT: decompresses a zlib stream from the file IN into
// the file OUT through the library, 1 MB of output room per InflateBlock,
// and prints the sizes.  The library loads ZLIB1.dll from its cache folder.
// When the stream is truncated or corrupt, OUT is removed again.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/owned.h"
#include "qlhost.h"

namespace qlhost {
namespace {

void closeFile(std::FILE* file) { std::fclose(file); }
using File = ql::Owned<std::FILE*, closeFile>;

// The whole of IN, read through the library's data file.
std::vector<unsigned char> readWhole(const std::wstring& path) {
    if (isFolder(path)) throw Failure("cannot read " + narrow(path) + ": it is a folder");
    Object reader;
    if (!reader->OpenFile(path.c_str(), qlModeRead, 0)) {
        wchar_t why[72] = L"";
        reader->GetLastErrorText(why, 72);
        throw Failure("cannot read " + narrow(path) + ": " + narrow(why));
    }
    std::vector<unsigned char> bytes(reader->GetByteCount());
    bytes.resize(reader->ReadBlock(bytes.data(), static_cast<uint32_t>(bytes.size())));
    if (bytes.empty()) throw Failure("cannot read " + narrow(path) + ": it is empty");
    return bytes;
}

}  // namespace

int runInflate(const Args& args, const WindowOptions&) {
    if (args.size() < 2) throw UsageError(args.empty() ? "IN and OUT are missing" : "OUT is missing");
    noMoreThan(args, 2);
    const std::wstring inPath = hostPath(args[0]), outPath = hostPath(args[1]);
    const std::vector<unsigned char> in = readWhole(inPath);
    Object s;
    if (!s->InflateBegin(in.data(), static_cast<uint32_t>(in.size()), codecZlib)) {
        wchar_t cache[1024] = {};
        s->GetCacheFolder(cache, 1024);
        throw Failure("cannot start: ZLIB1.dll is missing from " + narrow(cache) + " or cannot be loaded");
    }
    File out(_wfopen(outPath.c_str(), L"wb"));
    if (!out) {
        s->InflateFinish(codecZlib);
        throw Failure("cannot write " + narrow(outPath) + ": " + std::strerror(errno));
    }
    std::vector<unsigned char> room(1 << 20);
    uint32_t produced = 0, written = 0;
    bool done = false;
    for (;;) {
        done = s->InflateBlock(in.data(), static_cast<int32_t>(in.size()), room.data(),
                               static_cast<uint32_t>(room.size()), &produced, codecZlib);
        const uint32_t fresh = produced - written;  // produced counts since InflateBegin
        std::fwrite(room.data(), 1, fresh, out.get());
        written = produced;
        if (done || fresh < room.size()) break;  // the end, or no progress with a full buffer's room
    }
    s->InflateFinish(codecZlib);
    out.reset();
    if (!done) {
        DeleteFileW(outPath.c_str());
        throw Failure("the stream is truncated or corrupt (" + std::to_string(written) + " bytes came out; " +
                      narrow(outPath) + " removed)");
    }
    std::printf("compressed:   %zu bytes\n", in.size());
    std::printf("decompressed: %u bytes\n", written);
    return 0;
}

}  // namespace qlhost
