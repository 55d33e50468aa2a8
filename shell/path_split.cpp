// Splitting a path into folder, name and extension (slots 4 and 5).
//
// Pure text work on a working copy of 512 characters: no file system, no
// state record.  The backslash is the only separator; the full stop marks
// the extension.  Decisions for the awkward inputs (see docs/shell-folders.md):
//   - a null path reads as the empty path;
//   - a path of 512 characters or more is refused: every wanted output gets
//     the empty string;
//   - a path without a backslash after its first character is all name
//     (unless that first character is itself a backslash);
//   - a part that does not fit its buffer leaves that buffer empty;
//   - a buffer with a capacity below 1 is never touched.
#include "shell/path_split.h"

#include "base/wide_text.h"
#include "shell/names.h"

namespace ql {

namespace {

constexpr QLWChar kBackslash = 92;
constexpr QLWChar kFullStop = 46;

// One optional output buffer and its capacity.
struct Part {
    QLWChar* buffer;
    int32_t capacity;

    bool wanted() const { return buffer != nullptr && capacity > 0; }
    void set(const QLWChar* text, size_t count) const {
        if (wanted()) copyCounted(buffer, static_cast<size_t>(capacity), text, count);
    }
    void clear() const { set(nullptr, 0); }
};

// The path's length, or kWorkingSize when it does not fit the working copy.
size_t workingLength(const QLWChar* path) {
    return path ? textLength(path, kWorkingSize) : 0;
}

// Positions start, start - 1, ..., 1: the first that holds `mark`, or 0.
// Position `start` may be the terminator; position 0 is never examined.
size_t searchBack(const QLWChar* text, size_t start, QLWChar mark) {
    for (size_t i = start; i >= 1; --i)
        if (text[i] == mark) return i;
    return 0;
}

// Steps shared by both splitters: the separator search from `start`, then
// the folder (the text before the separator) and the name (the rest).
void splitAt(const QLWChar* text, size_t n, size_t start, const Part& folder, const Part& name) {
    const size_t s = searchBack(text, start, kBackslash);
    // Position 0 is a separator only when it holds one: "\file" has the
    // empty folder and the name "file", "file" is all name.
    const size_t nameStart = text[s] == kBackslash ? s + 1 : s;
    folder.set(text, s);
    name.set(text + nameStart, n - nameStart);
}

}  // namespace

void splitPath(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name, int32_t nameCapacity) {
    const Part folderPart{folder, folderCapacity}, namePart{name, nameCapacity};
    const size_t n = workingLength(path);
    if (n >= kWorkingSize) {
        folderPart.clear();
        namePart.clear();
        return;
    }
    QLWChar work[kWorkingSize] = {};
    copyCounted(work, kWorkingSize, path, n);
    splitAt(work, n, n, folderPart, namePart);
}

void splitPathExt(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name,
                  int32_t nameCapacity, QLWChar* ext, int32_t extCapacity) {
    const Part folderPart{folder, folderCapacity}, namePart{name, nameCapacity};
    const Part extPart{ext, extCapacity};
    const size_t n = workingLength(path);
    if (n >= kWorkingSize) {
        folderPart.clear();
        namePart.clear();
        extPart.clear();
        return;
    }
    QLWChar work[kWorkingSize] = {};
    copyCounted(work, kWorkingSize, path, n);
    size_t start = n;
    // The extension search looks past backslashes: its full stop may lie in
    // a folder name, and then the "extension" holds the rest of the path.
    if (ext != nullptr && extCapacity > 3 && n >= 1) {
        if (const size_t d = searchBack(work, n, kFullStop)) {
            extPart.set(work + d + 1, n - d - 1);
            start = d;
        }
    }
    splitAt(work, n, start, folderPart, namePart);
}

}  // namespace ql
