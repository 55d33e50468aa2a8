// The state record every service object carries, and the process-wide
// values of the library object.
#ifndef QL_OBJECT_STATE_H
#define QL_OBJECT_STATE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "measure/elements.h"
#include "object/owned.h"
#include "qlcommon.h"

namespace ql {

// Entry points fetched from the zlib library.  The stream record is zlib's
// own z_stream; the library only ever passes its address along, so it is
// held as opaque bytes (88 bytes on 64-bit Windows).
using InflateInitFn = int (*)(void* stream, const char* version, int streamSize);
using InflateFn = int (*)(void* stream, int flush);
using InflateEndFn = int (*)(void* stream);

// The progress-bar window (an HWND), destroyed by shell/win32/progress.cpp.
void closeWindow(void* window);
using ProgressWindow = Owned<void*, closeWindow>;
// The names already warned about, in the order they came.
using WarningNames = std::vector<std::basic_string<QLWChar>>;

// The fields, their order and their initial values are part of the
// library's contract with itself: every operation finds its state here.
// The factory zero-fills the record and then sets the first two fields.
struct QLState {
    void* hostContext;            // the factory's argument; never read
    uint32_t interfaceVersion;    // 7
    uint8_t* ioBuffer;            // 65536 bytes while a data file is open
    std::FILE* stream;            // data file through the stream back end
    uint32_t bufferPos;           // index of the next byte in ioBuffer
    uint32_t bufferSize;          // 65536 while open, 0 when closed
    uint32_t bufferAvail;         // writing: free room; reading: unread bytes
    uint32_t openMode;            // 0 closed, 1 write, 2 read
    int32_t byteCount;            // bytes accepted / file length / bytes counted
    ElementArray elements;        // elementStore (owned), elementCursor, elementLimit,
                                  // elementCapacity, elementCount, elementSize
    ProgressWindow progressWindow;  // progress-bar window
    int32_t progressStartTime;    // clock in ms when the progress window started
    int32_t progressPos;          // current progress position
    int32_t streamError;          // errno value saved by the stream back end
    void* fileHandle;             // data file through a system handle (HANDLE)
    uint32_t handleError;         // system error code saved by the handle back end
    void* ownerWindow;            // owner of the progress window and warnings
    int32_t warningCount;         // names already warned about
    std::unique_ptr<WarningNames> warningNames;  // those names
    void* zlibModule;             // the zlib library loaded at run time
    InflateInitFn inflateInitFn;  // "inflateInit_"
    InflateFn inflateFn;          // "inflate"
    InflateEndFn inflateEndFn;    // "inflateEnd"
    void* zStream;                // the zlib stream record
};

// The element array's six fields stand where they always stood.
static_assert(offsetof(QLState, elements) == 7 * sizeof(void*) &&
                  offsetof(QLState, progressWindow) == 12 * sizeof(void*),
              "the element fields between byteCount and progressWindow");

// The module instance handle the library entry point keeps (HINSTANCE).
// The calculator's dialogs load their templates from it.
extern void* moduleInstance;

}  // namespace ql

#endif
