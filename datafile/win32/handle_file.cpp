// The system-handle back end of the data file (slots 54, 55, 58): open,
// buffered writes, close.
//
// It shares the buffer and the counters of the stream back end; while a
// handle is open the stream back end's WriteBytes and CloseFile come here.
// Reading is the stream back end's alone: a handle opened for reading only
// gives the file's length.  The system calls go through handleFileCalls, so
// that a test can make the disk refuse a write part way or fill up.
#include <windows.h>

#include <cstring>

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

// One WriteFile call for the waiting bytes.  On success the buffer is empty
// again and the bytes accepted so far are the progress; on failure the
// bytes the system did not take stay and the code is saved.  With nothing
// waiting there is nothing to ask the system for.
bool writeWaiting(QLCommon& self, QLState& s) {
    DataFile& f = s.file;
    if (f.bufferPos != 0) {
        DWORD written = 0;  // counts only when the call fails part way
        if (!writeFile(s.fileHandle.get(), f.ioBuffer.get(), DWORD{f.bufferPos}, &written, nullptr)) {
            // A disk that fills in the middle of a write keeps the front
            // part; only the rest waits, so a later try cannot write the
            // front part twice.
            const uint32_t taken = written < f.bufferPos ? written : f.bufferPos;
            std::memmove(f.ioBuffer.get(), f.ioBuffer.get() + taken, f.bufferPos - taken);
            f.bufferPos -= taken;
            f.bufferAvail += taken;
            s.handleError = failureCode();
            return false;
        }
    }
    f.bufferPos = 0;
    f.bufferAvail = f.bufferSize;
    if (s.progressWindow) self.call(&ICommonVtbl::SetProgressPos, f.byteCount);
    return true;
}

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
        // As with the stream: the waiting bytes go out, the counters start
        // again for the new file.
        if (writing(s)) writeWaiting(*this, s);
        closeOpenHandle(s);
        f.bufferPos = 0;
        f.bufferAvail = 0;
        f.openMode = 0;
    }
    if (s.handleError != 0) return 0;  // a failed open is final for this object

    DWORD access = 0;
    DWORD disposition = 0;
    if (mode == kModeWrite) {
        access = append ? FILE_APPEND_DATA : FILE_WRITE_DATA;
        disposition = append ? OPEN_ALWAYS : CREATE_ALWAYS;
    } else if (mode == kModeRead) {
        access = FILE_READ_DATA;
        disposition = OPEN_EXISTING;
    }
    if (access != 0 && !path) {
        s.handleError = ERROR_INVALID_PARAMETER;
    } else if (access != 0) {
        s.fileHandle.reset(createFile(path, access, DWORD{0}, nullptr, disposition, DWORD{FILE_ATTRIBUTE_NORMAL}, nullptr));
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
    if (!f.ioBuffer && s.fileHandle && s.handleError == 0) allocateIoBuffer(f);
    if (mode == kModeWrite) f.bufferAvail = f.bufferSize > f.bufferPos ? f.bufferSize - f.bufferPos : 0;
    return f.openMode != 0 && s.fileHandle && f.ioBuffer && s.handleError == 0;
}

// A failed system write leaves the buffer full: the call then keeps what
// still fits and drops the rest of its bytes, so it always comes to an end.
// The waiting bytes stay for the next write or the close to try again.
void QLCommon::WriteBytesHandle(const void* data, uint32_t count) {
    if (!state_) return;
    QLState& s = *state_;
    DataFile& f = s.file;
    if (!writing(s)) {
        addToByteCount(f, count);  // no file: the write is only measured
        return;
    }
    const auto* p = static_cast<const uint8_t*>(data);
    if (!p) return;  // nothing to copy from
    for (;;) {
        bool written = true;
        if (uint64_t{f.bufferPos} + count > f.bufferSize) written = writeWaiting(*this, s);
        uint32_t n = f.bufferPos < f.bufferSize ? f.bufferSize - f.bufferPos : 0;
        if (n > f.bufferAvail) n = f.bufferAvail;
        if (n > count) n = count;
        std::memcpy(f.ioBuffer.get() + f.bufferPos, p, n);
        f.bufferPos += n;
        f.bufferAvail -= n;
        addToByteCount(f, n);
        if (n == count || !written) return;
        p += n;
        count -= n;
    }
}

void QLCommon::CloseFileHandle() {
    if (!state_) return;
    QLState& s = *state_;
    if (writing(s) && s.file.bufferPos != 0) writeWaiting(*this, s);
    if (s.fileHandle) closeOpenHandle(s);  // also forgets a failure of that last write
    s.file.ioBuffer.reset();
    resetFileCounters(s.file);
}

}  // namespace ql
