// The data file's operations on the stream back end (slots 11-17, 56, 57,
// 61, 62), the text that goes through it (47 WriteValueLine, 52 FindField,
// 53 GetLastErrorText) and CopyLine (66).  The buffer logic is the portable
// core's (datafile/data_file.cpp); calls to other operations go through the
// interface table.
#include "base/wide_text.h"
#include "datafile/text_fields.h"
#include "object/win32/qlcommon_impl.h"

namespace ql {

namespace {

// Each flush of a full buffer reports the bytes accepted so far; each refill
// of the byte-wise and line-wise readers moves the progress on by the bytes
// fetched.  Only while a progress window exists.
void flushed(void* context, int32_t byteCount) {
    auto& self = *static_cast<QLCommon*>(context);
    if (self.state()->progressWindow) self.call(&ICommonVtbl::SetProgressPos, byteCount);
}

void fetched(void* context, uint32_t bytes) {
    auto& self = *static_cast<QLCommon*>(context);
    const QLState& s = *self.state();
    if (s.progressWindow)
        self.call(&ICommonVtbl::SetProgressPos, static_cast<int32_t>(static_cast<uint32_t>(s.progressPos) + bytes));
}

}  // namespace

Progress QLCommon::fileProgress() { return {flushed, fetched, this}; }

QLBool QLCommon::OpenFile(const QLWChar* path, uint32_t mode, QLBool append) {
    return state_ && openStreamFile(state_->file, state_->streamError, path, mode, append != 0);
}

void QLCommon::WriteBytes(const void* data, uint32_t count) {
    if (!state_) return;
    if (state_->fileHandle) {
        call(&ICommonVtbl::WriteBytesHandle, data, count);
        return;
    }
    const Progress progress = fileProgress();
    writeStreamBytes(state_->file, data, count, &progress);
}

uint32_t QLCommon::ReadBytes(void* dest, uint32_t count) {
    if (!state_) return 0;
    const Progress progress = fileProgress();
    return readStreamBytes(state_->file, dest, count, &progress);
}

uint32_t QLCommon::ReadBlock(void* dest, uint32_t count) {
    if (!state_ || !dest) return 0;
    const Progress progress = fileProgress();
    return readStreamBytes(state_->file, dest, count, &progress);
}

void QLCommon::CloseFile() {
    if (!state_) return;
    if (state_->fileHandle) call(&ICommonVtbl::CloseFileHandle);
    else closeStreamFile(state_->file);  // streamError stays: it outlives the file
}

uint32_t QLCommon::GetByteCount() { return state_ ? static_cast<uint32_t>(state_->file.byteCount) : 0; }

int32_t QLCommon::ReadField(char* dest, int32_t capacity, uint8_t terminator) {
    return state_ ? readStreamField(state_->file, reinterpret_cast<uint8_t*>(dest), capacity, terminator) : 0;
}

int32_t QLCommon::ReadWideField(QLWChar* dest, int32_t capacity, uint16_t terminator, QLBool stopAtLineFeed) {
    if (!state_) return 0;
    return readStreamWideField(state_->file, reinterpret_cast<uint8_t*>(dest), capacity, terminator,
                               stopAtLineFeed != 0);
}

uint32_t QLCommon::ReadLine(char* dest, uint32_t capacity) {
    if (!state_) return 0;
    const Progress progress = fileProgress();
    return readStreamLine(state_->file, dest, capacity, &progress);
}

QLBool QLCommon::SeekRead(int32_t offset) { return state_ && seekStreamRead(state_->file, offset); }

uint32_t QLCommon::GetBufferPos() { return state_ ? streamBufferPos(state_->file) : 0xFFFFFFFFu; }

// Each part of the line goes to WriteBytes on its own.
void QLCommon::WriteValueLine(int32_t kind1, uint64_t value1, int32_t kind2, uint64_t value2, int32_t kind3,
                              uint64_t value3) {
    if (!state_ || !state_->file.stream) return;
    const int32_t kinds[3] = {kind1, kind2, kind3};
    const uint64_t values[3] = {value1, value2, value3};
    char hex[3][256] = {};
    const char* const hexText[3] = {hex[0], hex[1], hex[2]};
    for (int k = 0; k < 3; ++k) {
        if (kinds[k] != valueHex64) continue;
        call(&ICommonVtbl::FormatHex64, values[k], hex[k], static_cast<int32_t>(sizeof hex[k]));
        hex[k][sizeof hex[k] - 1] = '\0';
    }
    ValueLine line;
    composeValueLine(line, kinds, values, hexText);
    uint32_t at = 0;
    for (int i = 0; i < line.parts; ++i) {
        call(&ICommonVtbl::WriteBytes, static_cast<const void*>(line.text + at), line.ends[i] - at);
        at = line.ends[i];
    }
}

int32_t QLCommon::FindField(const QLWChar* text) {
    if (!state_ || !text || !*text) return -1;
    QLWChar field[1024] = {};
    FieldSearch search{false};
    for (;;) {
        const int32_t count = call(&ICommonVtbl::ReadWideField, field, FieldSearch::kReadBytes, uint16_t{9}, QLBool{1});
        const FieldVerdict verdict = search.check(field, count, text);
        if (verdict != FieldVerdict::next) return verdict == FieldVerdict::found ? 0 : -1;
    }
}

// A number without a message leaves the buffer exactly as it was; a message
// longer than the buffer leaves the empty text.
void QLCommon::GetLastErrorText(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !buffer || capacity < 1) return;
    if (const QLWChar* text = errorMessage(state_->streamError))
        copyBounded(buffer, static_cast<size_t>(capacity), text);
}

uint32_t QLCommon::CopyLine(const void* source, int32_t sourceLength, void* dest, uint32_t capacity) {
    return copyLine(source, sourceLength, dest, capacity);
}

}  // namespace ql
