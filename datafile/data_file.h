// The data file's buffer logic: the buffered write of both back ends, and
// the stream's open, reads, fields, lines, seeking and close.  Portable: the
// DLL's operations (datafile/win32/) call these functions on the fields of
// the state record; the native build tests, fuzzes and measures them.
//
// One 65536-byte buffer carries all traffic.  Writing, bytes gather from
// index 0 and go to the file a full buffer at a time; reading, the buffer
// holds the last piece fetched from the stream and the bufferAvail bytes
// from bufferPos are still unread.  Throughout, bufferPos + bufferAvail
// never exceeds bufferSize, so no operation reaches past the buffer.
#ifndef QL_DATAFILE_DATA_FILE_H
#define QL_DATAFILE_DATA_FILE_H

#include <cstdint>
#include <cstdio>
#include <memory>

#include "base/owned.h"
#include "qlcommon.h"

namespace ql {

// All traffic of a data file goes through one buffer of this many bytes.
constexpr uint32_t kIoBufferSize = 65536;

// Mode codes held in openMode while a file is open.
constexpr uint32_t kModeWrite = 1;
constexpr uint32_t kModeRead = 2;

inline void closeStream(std::FILE* f) { std::fclose(f); }
using Stream = Owned<std::FILE*, closeStream>;

// The data-file fields of the state record, in the record's order.  The
// handle back end shares everything but the stream.
struct DataFile {
    std::unique_ptr<uint8_t[]> ioBuffer;  // 65536 bytes while a file is open
    Stream stream;                        // the file through the stream back end
    uint32_t bufferPos;                   // index of the next byte in ioBuffer
    uint32_t bufferSize;                  // 65536 while open, 0 when closed
    uint32_t bufferAvail;                 // writing: free room; reading: unread bytes
    uint32_t openMode;                    // 0 closed, 1 write, 2 read
    int32_t byteCount;                    // bytes accepted / file length / bytes counted
};
// The holders are as large as the pointers they replace, so with the
// fields in this order every one keeps the record's offset (16 to 52 on
// 64-bit Windows, after hostContext and interfaceVersion).
static_assert(sizeof(std::unique_ptr<uint8_t[]>) == sizeof(void*) && sizeof(Stream) == sizeof(void*),
              "holders as large as pointers");

// Told after every flush of a full buffer (the bytes accepted so far) and
// every refill of the byte-wise and line-wise readers (the bytes fetched).
// The DLL turns these into progress reports; null reports nothing.
struct Progress {
    void (*flushed)(void* context, int32_t byteCount);
    void (*fetched)(void* context, uint32_t bytes);
    void* context;
};

// Where a full buffer goes: the stream, the system file or a test's stand-in.
// True when all `count` bytes count as written; false when refused, with
// `*taken` (0 unless set) the front bytes it kept all the same.
struct WriteSink {
    bool (*write)(void* context, const uint8_t* bytes, uint32_t count, uint32_t* taken);
    void* context;
};

// The buffered write of both back ends: a write that does not fit hands the
// waiting bytes to the sink first.  After a refusal the call keeps what
// still fits and drops the rest.  Without a sink or a buffer open for
// writing it only adds the count to byteCount.
void writeBuffered(DataFile& f, const void* data, uint32_t count, const WriteSink* sink, const Progress* progress);
// Hands the waiting bytes to the sink; written, the buffer is empty again
// and the progress hears byteCount; refused, the rest waits at the front.
bool flushBuffer(DataFile& f, const WriteSink& sink, const Progress* progress);

// Opens path for mode 1 ("wb", or "ab" with append) or 2 ("rb").  The
// runtime error number of a failed open, close or length lands in
// streamError; once it is non-zero every open fails at once.
bool openStreamFile(DataFile& f, int32_t& streamError, const QLWChar* path, uint32_t mode, bool append);
// writeBuffered with the stream as the sink.
void writeStreamBytes(DataFile& f, const void* data, uint32_t count, const Progress* progress);
// Writes the waiting bytes, closes the stream and frees the buffer; every
// counter back to 0.
void closeStreamFile(DataFile& f);

// The readers act only on a stream open for reading; otherwise they return
// 0 and touch nothing.  Null dest skips the bytes.
uint32_t readStreamBytes(DataFile& f, void* dest, uint32_t count, const Progress* progress);
int32_t readStreamField(DataFile& f, uint8_t* dest, int32_t capacity, uint8_t terminator);
int32_t readStreamWideField(DataFile& f, uint8_t* dest, int32_t capacity, uint16_t terminator, bool stopAtLineFeed);
uint32_t readStreamLine(DataFile& f, char* dest, uint32_t capacity, const Progress* progress);
bool seekStreamRead(DataFile& f, int32_t offset);
// bufferPos, or 0xFFFFFFFF when no file is open for reading.
uint32_t streamBufferPos(const DataFile& f);

// Steps both back ends share.  After closing for a new open: an empty buffer.
void restartCounters(DataFile& f);
// The end of an open, `ready` when the file is open with no error saved: the
// first open's zero-filled buffer, the write room; true when ready.
bool finishOpen(DataFile& f, bool ready, uint32_t mode);
// What a close leaves: no buffer, every counter 0.
void releaseBuffer(DataFile& f);

}  // namespace ql

#endif
