// qlhost copy IN OUT [--handle]: copies a file through the DLL's data file,
// reading with the stream back end and writing with the stream back end or,
// with --handle, the system-handle back end.  Prints the byte counts.
#include <cstdio>
#include <vector>

#include "qlhost.h"

namespace qlhost {
namespace {

// The library's message for the last failed stream open.
std::string streamError(Object& s) {
    wchar_t text[72] = L"";
    s->GetLastErrorText(text, 72);
    return narrow(text);
}

}  // namespace

int runCopy(const Args& args, const WindowOptions&) {
    if (args.size() < 2) throw UsageError(args.empty() ? "IN and OUT are missing" : "OUT is missing");
    if (args.size() == 3 && args[2] != L"--handle") throw UsageError("unexpected argument '" + narrow(args[2]) + "'");
    noMoreThan(args, 3);
    const bool handle = args.size() == 3;
    const std::wstring in = hostPath(args[0]), out = hostPath(args[1]);
    Object reader, writer;  // one data file per service object
    if (isFolder(in)) throw Failure("cannot open " + narrow(in) + ": it is a folder");
    if (!reader->OpenFile(in.c_str(), qlModeRead, 0))
        throw Failure("cannot open " + narrow(in) + ": " + streamError(reader));
    const uint32_t length = reader->GetByteCount();
    if (handle) {
        if (!writer->OpenFileHandle(out.c_str(), qlModeWrite, 0))
            throw Failure("cannot create " + narrow(out) + ": " + systemMessage(GetLastError()));
    } else if (!writer->OpenFile(out.c_str(), qlModeWrite, 0)) {
        throw Failure("cannot create " + narrow(out) + ": " + streamError(writer));
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
    if (copied != length || accepted != length) throw Failure("the copy is incomplete");
    return 0;
}

}  // namespace qlhost
