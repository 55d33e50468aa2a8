// The state record every service object carries, and the process-wide
// values of the library object.
#ifndef QL_OBJECT_WIN32_STATE_H
#define QL_OBJECT_WIN32_STATE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/owned.h"
#include "datafile/data_file.h"
#include "datafile/zstream.h"
#include "measure/elements.h"
#include "qlcommon.h"

namespace ql {

// The data file's system handle, null when none, closed by the handle back
// end.
void closeSystemHandle(HANDLE handle);
using FileHandle = Owned<HANDLE, closeSystemHandle>;
// The zlib library, unloaded by the inflate code.
void unloadLibrary(HMODULE module);
using LibraryModule = Owned<HMODULE, unloadLibrary>;
// The progress-bar window, destroyed by shell/win32/progress.cpp.
void closeWindow(HWND window);
using ProgressWindow = Owned<HWND, closeWindow>;
// The names already warned about, in the order they came.
using WarningNames = std::vector<std::basic_string<QLWChar>>;

// The fields, their order and their initial values are part of the
// library's contract with itself: every operation finds its state here.
// The factory sets the first two fields; every other one starts zero or null.
struct QLState {
    void* hostContext;            // the factory's argument; never read
    uint32_t interfaceVersion;    // 7
    DataFile file;                // ioBuffer, stream, bufferPos, bufferSize,
                                  // bufferAvail, openMode, byteCount
    ElementArray elements;        // elementStore (owned), elementCursor, elementLimit,
                                  // elementCapacity, elementCount, elementSize
    ProgressWindow progressWindow;  // progress-bar window
    int32_t progressStartTime;    // clock in ms when the progress window started
    int32_t progressPos;          // current progress position
    int32_t streamError;          // errno value saved by the stream back end
    FileHandle fileHandle;        // data file through a system handle
    uint32_t handleError;         // system error code saved by the handle back end
    HWND ownerWindow;             // owner of the progress window and warnings
    int32_t warningCount;         // names already warned about
    std::unique_ptr<WarningNames> warningNames;  // those names
    LibraryModule zlibModule;     // the zlib library loaded at run time
    InflateInitFn inflateInitFn;  // "inflateInit_"
    InflateFn inflateFn;          // "inflate"
    InflateEndFn inflateEndFn;    // "inflateEnd"
    std::unique_ptr<ZStreamRecord> zStream;  // the zlib stream record
};

// The element array's six fields stand where they always stood.
static_assert(offsetof(QLState, elements) == 7 * sizeof(void*) &&
                  offsetof(QLState, progressWindow) == 12 * sizeof(void*),
              "the element fields between byteCount and progressWindow");

// The module instance handle the library entry point keeps.  The
// calculator's dialogs load their templates from it.
extern HINSTANCE moduleInstance;

// The holders are as large as the pointers they replace, so every field
// keeps its place (DataFile's own offsets are checked in its header).
static_assert(sizeof(void*) != 8 || sizeof(DataFile) == 40, "ioBuffer to byteCount: bytes 16 to 55");
static_assert(sizeof(FileHandle) == sizeof(void*) && sizeof(LibraryModule) == sizeof(void*) &&
                  sizeof(std::unique_ptr<ZStreamRecord>) == sizeof(void*),
              "holders as large as pointers");

}  // namespace ql

#endif
