// The system-handle back end of the data file (slots 54, 55, 58): the open
// through CreateFileW, the write the system may take only in part (the sink
// of the core's buffered write) and the close.
//
// It shares the buffer, its logic and the counters of the stream back end; while a
// handle is open the stream back end's WriteBytes and CloseFile come here.
// Reading is the stream back end's alone: a handle opened for reading only
// gives the file's length.  The system calls go through handleFileCalls, so
// that a test can make the disk refuse a write part way or fill up.
#include <windows.h>

#include "base/win32/system_calls.h"
#include "object/win32/qlcommon_impl.h"

namespace ql {

SystemCall handleFileCalls[] = {
    QL_SYSTEM_CALL(CreateFileW), QL_SYSTEM_CALL(WriteFile),    QL_SYSTEM_CALL(GetFileSize),
    QL_SYSTEM_CALL(CloseHandle), QL_SYSTEM_CALL(GetLastError),
};
extern const size_t handleFileCallCount = sizeof handleFileCalls / sizeof handleFileCalls[0];

namespace {

const auto createFile = [](auto... a) { return systemCall<decltype(&::CreateFileW)>(handleFileCalls[0])(a...); };
const auto writeFile = [](auto... a) { return systemCall<decltype(&::WriteFile)>(handleFileCalls[1])(a...); };
const auto fileSize = [](auto... a) { return systemCall<decltype(&::GetFileSize)>(handleFileCalls[2])(a...); };
const auto closeHandle = [](HANDLE h) { return systemCall<decltype(&::CloseHandle)>(handleFileCalls[3])(h); };
const auto lastError = [] { return systemCall<decltype(&::GetLastError)>(handleFileCalls[4])(); };

// The code saved for a failed call.  A failure the system does not explain
// still has to stay on record, so a missing code becomes ERROR_GEN_FAILURE.
uint32_t failureCode() {
    const DWORD code = lastError();
    return code != 0 ? code : ERROR_GEN_FAILURE;
}

bool writing(const QLState& s) { return s.fileHandle && s.file.ioBuffer && s.file.openMode == kModeWrite; }

// The system file as the buffer's sink: one WriteFile call, whose code is
// saved when refused.
bool writeToHandle(void* state, const uint8_t* bytes, uint32_t count, uint32_t* taken) {
    QLState& s = *static_cast<QLState*>(state);
    DWORD written = 0;  // counts only when the call fails part way
    if (writeFile(s.fileHandle.get(), bytes, DWORD{count}, &written, nullptr)) return true;
    *taken = written;
    s.handleError = failureCode();
    return false;
}

WriteSink handleSink(QLState& s) { return {writeToHandle, &s}; }

// Closes the open handle; a close failure is saved, the field is cleared
// either way.
void closeOpenHandle(QLState& s) {
    s.handleError = 0;
    if (!closeHandle(s.fileHandle.release())) s.handleError = failureCode();
}

}  // namespace

// The destroyer's close: the waiting bytes are not written.
void closeSystemHandle(HANDLE handle) { closeHandle(handle); }

QLBool QLCommon::OpenFileHandle(const QLWChar* path, uint32_t mode, QLBool append) {
    if (!state_) return 0;
    QLState& s = *state_;
    DataFile& f = s.file;
    if (s.fileHandle) {
        const Progress progress = fileProgress();
        if (writing(s)) flushBuffer(f, handleSink(s), &progress);
        closeOpenHandle(s);
        restartCounters(f);
    }
    if (s.handleError != 0) return 0;  // a failed open is final for this object

    const bool write = mode == kModeWrite;
    const DWORD access = write ? (append ? FILE_APPEND_DATA : FILE_WRITE_DATA) : mode == kModeRead ? FILE_READ_DATA : 0;
    const DWORD disposition = write ? (append ? OPEN_ALWAYS : CREATE_ALWAYS) : OPEN_EXISTING;
    if (access != 0 && !path) {
        s.handleError = ERROR_INVALID_PARAMETER;
    } else if (access != 0) {
        const DWORD attributes = FILE_ATTRIBUTE_NORMAL;
        const HANDLE h = createFile(path, access, DWORD{0}, nullptr, disposition, attributes, nullptr);
        // The record keeps null for "no handle", CreateFileW answers INVALID_HANDLE_VALUE.
        if (h != INVALID_HANDLE_VALUE) s.fileHandle.reset(h);
        if (!s.fileHandle) s.handleError = failureCode();
    }

    if (s.fileHandle && s.handleError == 0) {
        if (mode == kModeWrite) {
            f.byteCount = 0;
        } else {
            const DWORD size = fileSize(s.fileHandle.get(), nullptr);
            if (size == INVALID_FILE_SIZE) s.handleError = lastError();  // 0: a real 4 GiB - 1 size
            f.byteCount = static_cast<int32_t>(size);
        }
        f.openMode = mode;
    }
    return finishOpen(f, s.fileHandle && s.handleError == 0, mode);
}

// The waiting bytes of a refused write stay for the next write or the close.
void QLCommon::WriteBytesHandle(const void* data, uint32_t count) {
    if (!state_) return;
    const WriteSink sink = handleSink(*state_);
    const Progress progress = fileProgress();
    writeBuffered(state_->file, data, count, state_->fileHandle ? &sink : nullptr, &progress);
}

void QLCommon::CloseFileHandle() {
    if (!state_) return;
    QLState& s = *state_;
    const Progress progress = fileProgress();
    if (writing(s) && s.file.bufferPos != 0) flushBuffer(s.file, handleSink(s), &progress);
    if (s.fileHandle) closeOpenHandle(s);  // also forgets a failure of that last write
    releaseBuffer(s.file);
}

}  // namespace ql
