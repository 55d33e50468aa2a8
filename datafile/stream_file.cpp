// The stream back end of the data file: open, buffered writes and reads,
// fields, lines, seeking, close.
//
// One 65536-byte buffer carries all traffic.  Writing, bytes gather from
// index 0 and go to the stream a full buffer at a time; reading, the buffer
// holds the last piece fetched from the stream and the bufferAvail bytes
// from bufferPos are still unread.  Throughout, bufferPos + bufferAvail
// never exceeds bufferSize, so no operation reaches past the buffer.
#include <cerrno>
#include <cstring>

#include "datafile/error_numbers.h"
#include "datafile/io_buffer.h"
#include "datafile/stream_platform.h"
#include "object/qlcommon_impl.h"

namespace ql {

namespace {

bool readable(const QLState& s) { return s.stream && s.ioBuffer && s.openMode == kModeRead; }

bool writable(const QLState& s) { return s.stream && s.ioBuffer && s.openMode == kModeWrite; }

// Free room of a buffer being written.
uint32_t room(const QLState& s) {
    const uint32_t free = s.bufferPos < s.bufferSize ? s.bufferSize - s.bufferPos : 0;
    return s.bufferAvail < free ? s.bufferAvail : free;
}

void saveStreamError(QLState& s) { s.streamError = savedErrorNumber(errno); }

// Fetches the next piece of the file into the buffer.  Zero bytes (end of
// file or read error) ends the caller's read.  The byte-wise and line-wise
// readers report the bytes fetched as progress.
uint32_t refill(QLCommon& self, QLState& s, bool reportProgress) {
    s.bufferPos = 0;
    const auto n = static_cast<uint32_t>(std::fread(s.ioBuffer, 1, s.bufferSize, s.stream));
    s.bufferAvail = n;
    if (reportProgress && n != 0 && s.progressWindow)
        self.call(&ICommonVtbl::SetProgressPos, static_cast<int32_t>(static_cast<uint32_t>(s.progressPos) + n));
    return n;
}

void take(QLState& s, uint32_t n) {
    s.bufferPos += n;
    s.bufferAvail -= n;
}

// ReadBytes and ReadBlock: count bytes to dest, or skipped when dest is null.
uint32_t takeBytes(QLCommon& self, QLState& s, uint8_t* dest, uint32_t count) {
    uint32_t taken = 0;
    while (taken < count) {
        if (s.bufferAvail == 0 && refill(self, s, true) == 0) break;
        const uint32_t left = count - taken;
        const uint32_t k = s.bufferAvail < left ? s.bufferAvail : left;
        if (dest) std::memcpy(dest + taken, s.ioBuffer + s.bufferPos, k);
        take(s, k);
        taken += k;
    }
    return taken;
}

// The 16-bit zero after the n bytes of a field, or over the last two bytes
// of the capacity when it does not fit after them.
void terminateField(uint8_t* out, uint32_t n, uint32_t capacity) {
    const uint32_t at = n + 2 <= capacity ? n : capacity - 2;
    out[at] = 0;
    out[at + 1] = 0;
}

// Writes the bytes waiting in a write buffer (the stream's own write
// failures go unnoticed: the buffer counts as written).
void writeWaiting(QLState& s) {
    if (s.bufferPos != 0) std::fwrite(s.ioBuffer, 1, s.bufferPos, s.stream);
}

// An open that finds a stream still open: the waiting bytes go out, the
// stream is closed and the counters start again, so the new file begins
// with an empty buffer.  The runtime releases a stream even when its close
// fails, so the field is cleared either way; the saved error makes the open
// fail.
void closeForReopen(QLState& s) {
    if (writable(s)) writeWaiting(s);
    s.streamError = 0;
    errno = 0;
    if (std::fclose(s.stream) != 0) saveStreamError(s);
    s.stream = nullptr;
    s.bufferPos = 0;
    s.bufferAvail = 0;
    s.openMode = 0;
}

}  // namespace

QLBool QLCommon::OpenFile(const QLWChar* path, uint32_t mode, QLBool append) {
    if (!state_) return 0;
    QLState& s = *state_;
    if (s.stream) closeForReopen(s);
    if (s.streamError != 0) return 0;  // a failed open is final for this object

    errno = 0;
    const char* how = mode == kModeWrite ? (append ? "ab" : "wb") : mode == kModeRead ? "rb" : nullptr;
    if (how && !path) {
        errno = EINVAL;  // what the runtime answers for a missing path
        saveStreamError(s);
    } else if (how) {
        s.stream = openStreamW(path, how);
        if (!s.stream) saveStreamError(s);
    }

    if (s.stream && s.streamError == 0) {
        if (mode == kModeWrite) {
            s.byteCount = 0;
        } else {
            int64_t length = 0;
            errno = 0;
            if (streamFileLength(s.stream, &length)) {
                s.byteCount = static_cast<int32_t>(static_cast<uint32_t>(length));
            } else {
                s.byteCount = -1;
                saveStreamError(s);
            }
        }
        s.openMode = mode;
    }
    if (!s.ioBuffer && s.stream && s.streamError == 0) allocateIoBuffer(s);
    if (mode == kModeWrite) s.bufferAvail = s.bufferSize > s.bufferPos ? s.bufferSize - s.bufferPos : 0;
    return s.openMode != 0 && s.stream && s.ioBuffer && s.streamError == 0;
}

// Long writes loop here rather than recursing once per buffer, so that even
// a write of gigabytes needs no more stack than a short one.
void QLCommon::WriteBytes(const void* data, uint32_t count) {
    if (!state_) return;
    QLState& s = *state_;
    const auto* p = static_cast<const uint8_t*>(data);
    for (;;) {
        if (s.fileHandle) {
            call(&ICommonVtbl::WriteBytesHandle, p, count);
            return;
        }
        if (!writable(s)) {
            addToByteCount(s, count);  // no file: the write is only measured
            return;
        }
        if (!p) return;  // nothing to copy from
        if (uint64_t{s.bufferPos} + count > s.bufferSize) {
            writeWaiting(s);
            s.bufferPos = 0;
            s.bufferAvail = s.bufferSize;
            if (s.progressWindow) call(&ICommonVtbl::SetProgressPos, s.byteCount);
        }
        const uint32_t free = room(s);
        const uint32_t n = count < free ? count : free;
        std::memcpy(s.ioBuffer + s.bufferPos, p, n);
        s.bufferPos += n;
        s.bufferAvail -= n;
        addToByteCount(s, n);
        if (n == count) return;
        p += n;
        count -= n;
    }
}

uint32_t QLCommon::ReadBytes(void* dest, uint32_t count) {
    if (!state_ || !readable(*state_) || count == 0) return 0;
    return takeBytes(*this, *state_, static_cast<uint8_t*>(dest), count);
}

uint32_t QLCommon::ReadBlock(void* dest, uint32_t count) {
    if (!state_ || !readable(*state_) || count == 0 || !dest) return 0;
    return takeBytes(*this, *state_, static_cast<uint8_t*>(dest), count);
}

void QLCommon::CloseFile() {
    if (!state_) return;
    QLState& s = *state_;
    if (s.fileHandle) {
        call(&ICommonVtbl::CloseFileHandle);
        return;
    }
    if (writable(s)) writeWaiting(s);
    if (s.stream) {
        std::fclose(s.stream);
        s.stream = nullptr;
    }
    freeIoBuffer(s);
    resetFileCounters(s);  // streamError stays: it outlives the file
}

uint32_t QLCommon::GetByteCount() { return state_ ? static_cast<uint32_t>(state_->byteCount) : 0; }

int32_t QLCommon::ReadField(char* dest, int32_t capacity, uint8_t terminator) {
    // Below 2 bytes not even the terminating 16-bit zero fits.
    if (!state_ || !readable(*state_) || !dest || capacity < 2) return 0;
    QLState& s = *state_;
    auto* out = reinterpret_cast<uint8_t*>(dest);
    const auto cap = static_cast<uint32_t>(capacity);
    uint32_t n = 0;
    while (n < cap) {
        if (s.bufferAvail == 0 && refill(*this, s, false) == 0) break;
        const uint8_t* from = s.ioBuffer + s.bufferPos;
        uint32_t k = s.bufferAvail < cap - n ? s.bufferAvail : cap - n;
        const void* hit = std::memchr(from, terminator, k);
        if (hit) k = static_cast<uint32_t>(static_cast<const uint8_t*>(hit) - from) + 1;
        std::memcpy(out + n, from, k);
        take(s, k);
        n += k;
        if (hit) break;
    }
    terminateField(out, n, cap);
    return static_cast<int32_t>(n);
}

int32_t QLCommon::ReadWideField(QLWChar* dest, int32_t capacity, uint16_t terminator, QLBool stopAtLineFeed) {
    if (!state_ || !readable(*state_) || !dest || capacity < 2) return 0;
    QLState& s = *state_;
    auto* out = reinterpret_cast<uint8_t*>(dest);
    const auto cap = static_cast<uint32_t>(capacity);
    // Each byte, low or high half of a character alike, is compared as a
    // signed 8-bit value with the terminator: one above 127 never matches.
    const int wanted = terminator <= 127 ? terminator : -1;
    const int lineFeed = stopAtLineFeed ? 10 : -1;
    uint32_t n = 0;
    bool matched = false;
    while (n < cap && !matched) {
        if (s.bufferAvail == 0 && refill(*this, s, false) == 0) break;
        const uint8_t* from = s.ioBuffer + s.bufferPos;
        const uint32_t k = s.bufferAvail < cap - n ? s.bufferAvail : cap - n;
        uint32_t i = 0;
        while (i < k && !matched) {
            const int b = from[i++];
            matched = b == wanted || b == lineFeed;
        }
        std::memcpy(out + n, from, i);
        take(s, i);
        n += i;
    }
    if (matched) {
        // The terminator character's second byte: a zero in the text, and
        // taken from the file, from the next fill if this one is used up,
        // or not at all at the end of the file.
        if (n < cap) out[n] = 0;
        if (s.bufferAvail != 0 || refill(*this, s, false) != 0) {
            take(s, 1);
            ++n;
        }
    }
    terminateField(out, n, cap);
    return static_cast<int32_t>(n / 2);
}

uint32_t QLCommon::ReadLine(char* dest, uint32_t capacity) {
    if (!state_ || !readable(*state_) || !dest || capacity == 0) return 0;
    QLState& s = *state_;
    auto* out = reinterpret_cast<uint8_t*>(dest);
    uint32_t n = 0;
    while (n < capacity) {
        if (s.bufferAvail == 0 && refill(*this, s, true) == 0) {
            out[n] = 0;  // end of file: the text so far, terminated
            return n;
        }
        const uint8_t* from = s.ioBuffer + s.bufferPos;
        const uint32_t k = s.bufferAvail < capacity - n ? s.bufferAvail : capacity - n;
        if (const void* hit = std::memchr(from, '\n', k)) {
            const auto len = static_cast<uint32_t>(static_cast<const uint8_t*>(hit) - from);
            // The byte before the line feed, read where it is cheapest:
            // from the buffer unless the line began in an earlier fill.
            const bool cr = len != 0 ? from[len - 1] == '\r' : n != 0 && out[n - 1] == '\r';
            std::memcpy(out + n, from, len);
            n += len;
            out[n] = 0;  // the line feed
            if (cr) out[n - 1] = 0;  // only a carriage return right before it
            take(s, len + 1);
            return n + 1;
        }
        std::memcpy(out + n, from, k);
        take(s, k);
        n += k;
    }
    return capacity;  // full without a line feed: no terminating zero
}

QLBool QLCommon::SeekRead(int32_t offset) {
    if (!state_ || !readable(*state_)) return 0;
    QLState& s = *state_;
    if (std::fseek(s.stream, offset, SEEK_SET) != 0) return 0;
    s.bufferPos = 0;  // the next read refills from the new place
    s.bufferAvail = 0;
    return 1;
}

uint32_t QLCommon::GetBufferPos() {
    if (!state_ || !readable(*state_)) return 0xFFFFFFFFu;
    return state_->bufferPos;
}

// The destroyer's release: the stream closes without its waiting bytes.
void releaseStream(QLState& s) {
    if (s.stream) std::fclose(s.stream);
    s.stream = nullptr;
}

void releaseIoBuffer(QLState& s) {
    freeIoBuffer(s);
    s.bufferPos = 0;
    s.bufferSize = 0;
    s.bufferAvail = 0;
}

}  // namespace ql
