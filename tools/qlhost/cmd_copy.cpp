// qlhost copy IN OUT [--handle]: copies a file through the DLL's data file,
// reading with the stream back end and writing with the stream back end or,
// with --handle, the system-handle back end.  Prints the byte counts.
#include <cstdio>
#include <vector>

#include "qlhost.h"

namespace qlhost {
namespace {

// The library's message for a failed stream open.
std::string openError(Service& s) {
    wchar_t text[72] = L"unknown error";
    s->GetLastErrorText(text, 72);
    return narrow(text);
}

int runCopy(Library& lib, const Args& args) {
    if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != L"--handle")) {
        std::fprintf(stderr, "usage: qlhost copy IN OUT [--handle]\n");
        return 2;
    }
    const bool handle = args.size() == 3;
    Service reader(lib), writer(lib);  // one data file per service object
    if (!reader->OpenFile(args[0].c_str(), qlModeRead, 0)) {
        std::fprintf(stderr, "qlhost copy: cannot open %s: %s\n", narrow(args[0]).c_str(), openError(reader).c_str());
        return 1;
    }
    const uint32_t length = reader->GetByteCount();
    const bool opened = handle ? writer->OpenFileHandle(args[1].c_str(), qlModeWrite, 0)
                               : writer->OpenFile(args[1].c_str(), qlModeWrite, 0);
    if (!opened) {
        std::fprintf(stderr, "qlhost copy: cannot create %s%s%s\n", narrow(args[1]).c_str(), handle ? "" : ": ",
                     handle ? "" : openError(writer).c_str());
        return 1;
    }
    std::vector<char> piece(65536);
    uint64_t copied = 0;
    for (uint32_t n; (n = reader->ReadBlock(piece.data(), static_cast<uint32_t>(piece.size()))) != 0;) {
        writer->WriteBytes(piece.data(), n);  // reaches the handle when one is open
        copied += n;
    }
    const uint32_t accepted = writer->GetByteCount();
    writer->CloseFile();
    reader->CloseFile();
    std::printf("source length: %u bytes\n", length);
    std::printf("bytes read:    %llu\n", static_cast<unsigned long long>(copied));
    std::printf("bytes written: %u (%s back end)\n", accepted, handle ? "system-handle" : "stream");
    return copied == length && accepted == length ? 0 : 1;
}

const bool registered = registerCommand(
    {"copy", "IN OUT [--handle]",
     "copies IN to OUT through the data file (stream reads; stream or --handle writes), prints byte counts",
     runCopy});

}  // namespace
}  // namespace qlhost
