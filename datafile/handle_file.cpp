// The system-handle back end of the data file: open, buffered writes, close.
//
// It shares the buffer and the counters of the stream back end; while a
// handle is open the stream back end's WriteBytes and CloseFile come here.
// Reading is the stream back end's alone: a handle opened for reading only
// gives the file's length.  The system calls go through the FileApi seam.
#include <cstring>

#include "datafile/file_api.h"
#include "datafile/io_buffer.h"
#include "object/qlcommon_impl.h"

namespace ql {

namespace {

constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorGenFailure = 31;

// The code saved for a failed call.  A failure the system does not explain
// still has to stay on record, so a missing code becomes ERROR_GEN_FAILURE.
uint32_t failureCode(FileApi& api) {
    const uint32_t code = api.GetLastError();
    return code != 0 ? code : kErrorGenFailure;
}

bool writing(const QLState& s) { return s.fileHandle && s.ioBuffer && s.openMode == kModeWrite; }

// One WriteFile call for the waiting bytes.  On success the buffer is empty
// again and the bytes accepted so far are the progress; on failure the
// bytes the system did not take stay and the code is saved.  With nothing
// waiting there is nothing to ask the system for.
bool writeWaiting(QLCommon& self, QLState& s) {
    if (s.bufferPos != 0) {
        FileApi& api = fileApi();
        uint32_t written = 0;  // counts only when the call fails part way
        if (!api.WriteFile(s.fileHandle, s.ioBuffer, s.bufferPos, &written)) {
            // A disk that fills in the middle of a write keeps the front
            // part; only the rest waits, so a later try cannot write the
            // front part twice.
            const uint32_t taken = written < s.bufferPos ? written : s.bufferPos;
            std::memmove(s.ioBuffer, s.ioBuffer + taken, s.bufferPos - taken);
            s.bufferPos -= taken;
            s.bufferAvail += taken;
            s.handleError = failureCode(api);
            return false;
        }
    }
    s.bufferPos = 0;
    s.bufferAvail = s.bufferSize;
    if (s.progressWindow) self.call(&ICommonVtbl::SetProgressPos, s.byteCount);
    return true;
}

// Closes the open handle; a close failure is saved, the field is cleared
// either way.
void closeHandle(QLState& s) {
    FileApi& api = fileApi();
    s.handleError = 0;
    if (!api.CloseHandle(s.fileHandle)) s.handleError = failureCode(api);
    s.fileHandle = nullptr;
}

}  // namespace

QLBool QLCommon::OpenFileHandle(const QLWChar* path, uint32_t mode, QLBool append) {
    if (!state_) return 0;
    QLState& s = *state_;
    if (s.fileHandle) {
        // As with the stream: the waiting bytes go out, the counters start
        // again for the new file.
        if (writing(s)) writeWaiting(*this, s);
        closeHandle(s);
        s.bufferPos = 0;
        s.bufferAvail = 0;
        s.openMode = 0;
    }
    if (s.handleError != 0) return 0;  // a failed open is final for this object

    FileApi& api = fileApi();
    uint32_t access = 0;
    uint32_t disposition = 0;
    if (mode == kModeWrite) {
        access = append ? fileapi::kAppendData : fileapi::kWriteData;
        disposition = append ? fileapi::kOpenAlways : fileapi::kCreateAlways;
    } else if (mode == kModeRead) {
        access = fileapi::kReadData;
        disposition = fileapi::kOpenExisting;
    }
    if (access != 0 && !path) {
        s.handleError = kErrorInvalidParameter;
    } else if (access != 0) {
        void* h = api.CreateFileW(path, access, 0, nullptr, disposition, fileapi::kNormal, nullptr);
        if (h == fileapi::invalidHandle() || h == nullptr) s.handleError = failureCode(api);
        else s.fileHandle = h;
    }

    if (s.fileHandle && s.handleError == 0) {
        if (mode == kModeWrite) {
            s.byteCount = 0;
        } else {
            const uint32_t size = api.GetFileSize(s.fileHandle, nullptr);
            if (size == fileapi::kInvalidSize) s.handleError = api.GetLastError();  // 0: a real 4 GiB - 1 size
            s.byteCount = static_cast<int32_t>(size);
        }
        s.openMode = mode;
    }
    if (!s.ioBuffer && s.fileHandle && s.handleError == 0) allocateIoBuffer(s);
    if (mode == kModeWrite) s.bufferAvail = s.bufferSize > s.bufferPos ? s.bufferSize - s.bufferPos : 0;
    return s.openMode != 0 && s.fileHandle && s.ioBuffer && s.handleError == 0;
}

// A failed system write leaves the buffer full: the call then keeps what
// still fits and drops the rest of its bytes, so it always comes to an end.
// The waiting bytes stay for the next write or the close to try again.
void QLCommon::WriteBytesHandle(const void* data, uint32_t count) {
    if (!state_) return;
    QLState& s = *state_;
    const auto* p = static_cast<const uint8_t*>(data);
    for (;;) {
        if (!writing(s)) {
            addToByteCount(s, count);  // no file: the write is only measured
            return;
        }
        if (!p) return;  // nothing to copy from
        bool written = true;
        if (uint64_t{s.bufferPos} + count > s.bufferSize) written = writeWaiting(*this, s);
        const uint32_t free = s.bufferPos < s.bufferSize ? s.bufferSize - s.bufferPos : 0;
        uint32_t n = count < free ? count : free;
        if (n > s.bufferAvail) n = s.bufferAvail;
        std::memcpy(s.ioBuffer + s.bufferPos, p, n);
        s.bufferPos += n;
        s.bufferAvail -= n;
        addToByteCount(s, n);
        if (n == count || !written) return;
        p += n;
        count -= n;
    }
}

void QLCommon::CloseFileHandle() {
    if (!state_) return;
    QLState& s = *state_;
    if (writing(s) && s.bufferPos != 0) writeWaiting(*this, s);
    if (s.fileHandle) closeHandle(s);  // also forgets a failure of that last write
    freeIoBuffer(s);
    resetFileCounters(s);
}

// The destroyer's release: the handle closes without its waiting bytes.
void releaseFileHandle(QLState& s) {
    if (s.fileHandle) fileApi().CloseHandle(s.fileHandle);
    s.fileHandle = nullptr;
}

}  // namespace ql
