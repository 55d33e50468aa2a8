// The data file's buffer logic over a C stream.
#include "datafile/data_file.h"

#include <cerrno>
#include <cstring>

#include "datafile/error_numbers.h"
#include "datafile/stream_platform.h"

namespace ql {

namespace {

bool readable(const DataFile& f) { return f.stream && f.ioBuffer && f.openMode == kModeRead; }

bool writable(const DataFile& f) { return f.stream && f.ioBuffer && f.openMode == kModeWrite; }

// Free room of a buffer being written.
uint32_t room(const DataFile& f) {
    const uint32_t free = f.bufferPos < f.bufferSize ? f.bufferSize - f.bufferPos : 0;
    return f.bufferAvail < free ? f.bufferAvail : free;
}

void saveStreamError(int32_t& streamError) { streamError = savedErrorNumber(errno); }

void addToByteCount(DataFile& f, uint32_t n) {  // wraps like a 32-bit register
    f.byteCount = static_cast<int32_t>(static_cast<uint32_t>(f.byteCount) + n);
}

void fetched(const Progress* progress, uint32_t n) {
    if (progress && n != 0) progress->fetched(progress->context, n);
}

// Fetches the next piece of the file into the buffer.  Zero bytes (end of
// file or read error) ends the caller's read.
uint32_t refill(DataFile& f, const Progress* progress) {
    f.bufferPos = 0;
    const auto n = static_cast<uint32_t>(std::fread(f.ioBuffer.get(), 1, f.bufferSize, f.stream.get()));
    f.bufferAvail = n;
    fetched(progress, n);
    return n;
}

void take(DataFile& f, uint32_t n) {
    f.bufferPos += n;
    f.bufferAvail -= n;
}

// The 16-bit zero after the n bytes of a field, or over the last two bytes
// of the capacity when it does not fit after them.
void terminateField(uint8_t* out, uint32_t n, uint32_t capacity) {
    const uint32_t at = n + 2 <= capacity ? n : capacity - 2;
    out[at] = 0;
    out[at + 1] = 0;
}

// The stream as a sink; its write failures go unnoticed.
bool writeToStream(void* stream, const uint8_t* bytes, uint32_t count, uint32_t*) {
    std::fwrite(bytes, 1, count, static_cast<std::FILE*>(stream));
    return true;
}

WriteSink streamSink(const DataFile& f) { return {writeToStream, f.stream.get()}; }

// An open over an open stream: the waiting bytes go out, the stream is
// closed (and released even when the close fails; the saved error makes the
// open fail) and the counters start again.
void closeForReopen(DataFile& f, int32_t& streamError) {
    if (writable(f)) flushBuffer(f, streamSink(f), nullptr);
    streamError = 0;
    errno = 0;
    if (std::fclose(f.stream.release()) != 0) saveStreamError(streamError);
    restartCounters(f);
}

}  // namespace

void restartCounters(DataFile& f) {
    f.bufferPos = 0;
    f.bufferAvail = 0;
    f.openMode = 0;
}

bool finishOpen(DataFile& f, bool ready, uint32_t mode) {
    if (ready && !f.ioBuffer) {
        f.bufferSize = kIoBufferSize;
        f.ioBuffer = std::make_unique<uint8_t[]>(kIoBufferSize);  // value-initialised: zeros
    }
    if (mode == kModeWrite) f.bufferAvail = f.bufferSize > f.bufferPos ? f.bufferSize - f.bufferPos : 0;
    return ready && f.openMode != 0 && f.ioBuffer;
}

void releaseBuffer(DataFile& f) {
    f.ioBuffer.reset();
    f.bufferPos = 0;
    f.bufferSize = 0;
    f.bufferAvail = 0;
    f.openMode = 0;
    f.byteCount = 0;
}

bool openStreamFile(DataFile& f, int32_t& streamError, const QLWChar* path, uint32_t mode, bool append) {
    if (f.stream) closeForReopen(f, streamError);
    if (streamError != 0) return false;  // a failed open is final for this object

    errno = 0;
    const char* how = mode == kModeWrite ? (append ? "ab" : "wb") : mode == kModeRead ? "rb" : nullptr;
    if (how && !path) {
        errno = EINVAL;  // what the runtime answers for a missing path
        saveStreamError(streamError);
    } else if (how) {
        f.stream.reset(openStreamW(path, how));
        if (!f.stream) saveStreamError(streamError);
    }

    if (f.stream && streamError == 0) {
        if (mode == kModeWrite) {
            f.byteCount = 0;
        } else {
            int64_t length = 0;
            errno = 0;
            if (streamFileLength(f.stream.get(), &length)) {
                f.byteCount = static_cast<int32_t>(static_cast<uint32_t>(length));
            } else {
                f.byteCount = -1;
                saveStreamError(streamError);
            }
        }
        f.openMode = mode;
    }
    return finishOpen(f, f.stream && streamError == 0, mode);
}

bool flushBuffer(DataFile& f, const WriteSink& sink, const Progress* progress) {
    uint32_t taken = 0;
    if (f.bufferPos != 0 && !sink.write(sink.context, f.ioBuffer.get(), f.bufferPos, &taken)) {
        // A disk that fills mid-write keeps the front part: only the rest
        // waits, so a later try cannot write the front twice.
        if (taken > f.bufferPos) taken = f.bufferPos;
        std::memmove(f.ioBuffer.get(), f.ioBuffer.get() + taken, f.bufferPos - taken);
        f.bufferPos -= taken;
        f.bufferAvail += taken;
        return false;
    }
    f.bufferPos = 0;
    f.bufferAvail = f.bufferSize;
    if (progress) progress->flushed(progress->context, f.byteCount);
    return true;
}

// Long writes loop here rather than recursing once per buffer, so that even
// a write of gigabytes needs no more stack than a short one.
void writeBuffered(DataFile& f, const void* data, uint32_t count, const WriteSink* sink, const Progress* progress) {
    if (!sink || !f.ioBuffer || f.openMode != kModeWrite) {
        addToByteCount(f, count);  // no file: the write is only measured
        return;
    }
    const auto* p = static_cast<const uint8_t*>(data);
    if (!p) return;  // nothing to copy from
    for (;;) {
        const bool flushed = uint64_t{f.bufferPos} + count <= f.bufferSize || flushBuffer(f, *sink, progress);
        const uint32_t free = room(f);
        const uint32_t n = count < free ? count : free;
        std::memcpy(f.ioBuffer.get() + f.bufferPos, p, n);
        take(f, n);
        addToByteCount(f, n);
        if (n == count || !flushed) return;
        p += n;
        count -= n;
    }
}

void writeStreamBytes(DataFile& f, const void* data, uint32_t count, const Progress* progress) {
    const WriteSink sink = streamSink(f);
    writeBuffered(f, data, count, f.stream ? &sink : nullptr, progress);
}

void closeStreamFile(DataFile& f) {
    if (writable(f)) flushBuffer(f, streamSink(f), nullptr);
    f.stream.reset();
    releaseBuffer(f);
}

// A whole buffer's worth wanted and nothing unread: the piece goes from the
// stream straight to its place, and the counters end as if it had passed
// through the buffer (the piece taken whole), so nothing after can tell.
uint32_t readStreamBytes(DataFile& f, void* dest, uint32_t count, const Progress* progress) {
    if (!readable(f) || count == 0) return 0;
    auto* out = static_cast<uint8_t*>(dest);
    uint32_t taken = 0;
    while (taken < count) {
        const uint32_t left = count - taken;
        if (f.bufferAvail == 0 && out && left >= f.bufferSize) {
            // Whole fills only, reported one fill at a time as the buffer would.
            const uint32_t want = left - left % f.bufferSize;
            const auto n = static_cast<uint32_t>(std::fread(out + taken, 1, want, f.stream.get()));
            for (uint32_t done = 0; done < n; done += f.bufferSize) {
                f.bufferPos = n - done < f.bufferSize ? n - done : f.bufferSize;
                fetched(progress, f.bufferPos);
            }
            taken += n;
            if (n != 0) continue;
            f.bufferPos = 0;  // a refill that found nothing
            break;
        }
        if (f.bufferAvail == 0 && refill(f, progress) == 0) break;
        const uint32_t k = f.bufferAvail < left ? f.bufferAvail : left;
        if (out) std::memcpy(out + taken, f.ioBuffer.get() + f.bufferPos, k);
        take(f, k);
        taken += k;
    }
    return taken;
}

int32_t readStreamField(DataFile& f, uint8_t* out, int32_t capacity, uint8_t terminator) {
    // Below 2 bytes not even the terminating 16-bit zero fits.
    if (!readable(f) || !out || capacity < 2) return 0;
    const auto cap = static_cast<uint32_t>(capacity);
    uint32_t n = 0;
    while (n < cap) {
        if (f.bufferAvail == 0 && refill(f, nullptr) == 0) break;
        const uint8_t* from = f.ioBuffer.get() + f.bufferPos;
        uint32_t k = f.bufferAvail < cap - n ? f.bufferAvail : cap - n;
        const void* hit = std::memchr(from, terminator, k);
        if (hit) k = static_cast<uint32_t>(static_cast<const uint8_t*>(hit) - from) + 1;
        std::memcpy(out + n, from, k);
        take(f, k);
        n += k;
        if (hit) break;
    }
    terminateField(out, n, cap);
    return static_cast<int32_t>(n);
}

int32_t readStreamWideField(DataFile& f, uint8_t* out, int32_t capacity, uint16_t terminator, bool stopAtLineFeed) {
    if (!readable(f) || !out || capacity < 2) return 0;
    const auto cap = static_cast<uint32_t>(capacity);
    // Each byte, low or high half of a character alike, is compared as a
    // signed 8-bit value with the terminator: one above 127 never matches.
    const int wanted = terminator <= 127 ? terminator : -1;
    const int lineFeed = stopAtLineFeed ? 10 : -1;
    uint32_t n = 0;
    bool matched = false;
    while (n < cap && !matched) {
        if (f.bufferAvail == 0 && refill(f, nullptr) == 0) break;
        const uint8_t* from = f.ioBuffer.get() + f.bufferPos;
        const uint32_t k = f.bufferAvail < cap - n ? f.bufferAvail : cap - n;
        uint32_t i = 0;
        while (i < k && !matched) {
            const int b = from[i++];
            matched = b == wanted || b == lineFeed;
        }
        std::memcpy(out + n, from, i);
        take(f, i);
        n += i;
    }
    if (matched) {
        // The terminator character's second byte: a zero in the text, and
        // taken from the file, from the next fill if this one is used up,
        // or not at all at the end of the file.
        if (n < cap) out[n] = 0;
        if (f.bufferAvail != 0 || refill(f, nullptr) != 0) {
            take(f, 1);
            ++n;
        }
    }
    terminateField(out, n, cap);
    return static_cast<int32_t>(n / 2);
}

uint32_t readStreamLine(DataFile& f, char* dest, uint32_t capacity, const Progress* progress) {
    if (!readable(f) || !dest || capacity == 0) return 0;
    auto* out = reinterpret_cast<uint8_t*>(dest);
    uint32_t n = 0;
    while (n < capacity) {
        if (f.bufferAvail == 0 && refill(f, progress) == 0) {
            out[n] = 0;  // end of file: the text so far, terminated
            return n;
        }
        const uint8_t* from = f.ioBuffer.get() + f.bufferPos;
        const uint32_t k = f.bufferAvail < capacity - n ? f.bufferAvail : capacity - n;
        if (const void* hit = std::memchr(from, '\n', k)) {
            const auto len = static_cast<uint32_t>(static_cast<const uint8_t*>(hit) - from);
            // The byte before the line feed, read where it is cheapest:
            // from the buffer unless the line began in an earlier fill.
            const bool cr = len != 0 ? from[len - 1] == '\r' : n != 0 && out[n - 1] == '\r';
            std::memcpy(out + n, from, len);
            n += len;
            out[n] = 0;  // the line feed
            if (cr) out[n - 1] = 0;  // only a carriage return right before it
            take(f, len + 1);
            return n + 1;
        }
        std::memcpy(out + n, from, k);
        take(f, k);
        n += k;
    }
    return capacity;  // full without a line feed: no terminating zero
}

bool seekStreamRead(DataFile& f, int32_t offset) {
    if (!readable(f) || std::fseek(f.stream.get(), offset, SEEK_SET) != 0) return false;
    f.bufferPos = 0;  // the next read refills from the new place
    f.bufferAvail = 0;
    return true;
}

uint32_t streamBufferPos(const DataFile& f) { return readable(f) ? f.bufferPos : 0xFFFFFFFFu; }

}  // namespace ql
