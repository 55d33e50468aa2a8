// The open, save and folder pickers.  Each fills the platform's dialog
// description (or drives the file-open dialog object in folder mode), runs
// the modal dialog on the calling thread and leaves the chosen path in the
// caller's buffer.
#include <algorithm>

#include "object/qlcommon_impl.h"
#include "shell/picker_filter.h"
#include "shell/picker_platform.h"
#include "object/wide_text.h"


namespace ql {

namespace {

// One COM interface pointer, released once when it goes out of scope.
class ComRef {
public:
    explicit ComRef(PickerPlatform& p) : platform_(p) {}
    ~ComRef() {
        if (pointer_) platform_.Release(pointer_);
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    void* get() const { return pointer_; }
    // For a call that hands out a pointer; one held from before is released.
    void** out() {
        if (pointer_) platform_.Release(pointer_);
        pointer_ = nullptr;
        return &pointer_;
    }

private:
    PickerPlatform& platform_;
    void* pointer_ = nullptr;
};

// Text the platform allocated, given back with CoTaskMemFree.
class TaskMemText {
public:
    explicit TaskMemText(PickerPlatform& p) : platform_(p) {}
    ~TaskMemText() {
        if (text_) platform_.CoTaskMemFree(text_);
    }
    TaskMemText(const TaskMemText&) = delete;
    TaskMemText& operator=(const TaskMemText&) = delete;
    const QLWChar* get() const { return text_; }
    QLWChar** out() { return &text_; }

private:
    PickerPlatform& platform_;
    QLWChar* text_ = nullptr;
};

bool succeeded(int32_t hr) { return hr >= 0; }

// True when the text ends within capacity characters.
bool terminatedWithin(const QLWChar* text, int32_t capacity) {
    for (int32_t i = 0; i < capacity; ++i)
        if (!text[i]) return true;
    return false;
}

// Appends as much of the tail as fits, always leaving a terminator.
void appendTruncated(QLWChar* buffer, int32_t capacity, const QLWChar* tail) {
    int32_t n = 0;
    while (n < capacity - 1 && buffer[n]) ++n;
    while (n < capacity - 1 && *tail) buffer[n++] = *tail++;
    buffer[n] = 0;
}

// Copies the whole text or nothing: a cut path would name another folder.
bool copyWhole(QLWChar* buffer, int32_t capacity, const QLWChar* text) {
    if (!terminatedWithin(text, capacity)) return false;
    do *buffer++ = *text; while (*text++);
    return true;
}

}  // namespace

int32_t QLCommon::BrowseOpenFile(QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt,
                                 QLWChar* file, uint32_t capacity, QLBool allowMulti) {
    // Without a buffer there is nowhere for the dialog to read or write.
    if (!file || capacity == 0) return 0;
    FileDialogDescription dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters;
    dialog.nFilterIndex = openFilterIndex(filters, defaultExt);
    dialog.lpstrFile = file;
    dialog.nMaxFile = capacity;
    dialog.lpstrDefExt = defaultExt;
    dialog.Flags = picker::kOpenFlags | (allowMulti == 1 ? picker::kAllowMultiSelect : 0);
    return pickerPlatform().GetOpenFileNameW(dialog) == 1 ? 1 : 0;
}

int32_t QLCommon::BrowseSaveFile(QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt,
                                 QLWChar* file, uint32_t capacity, const QLWChar* title,
                                 QLBool overwritePrompt) {
    if (!file || capacity == 0) return 0;
    FileDialogDescription dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters;
    dialog.nFilterIndex = saveFilterIndex(defaultExt);
    dialog.lpstrFile = file;
    dialog.nMaxFile = capacity;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = defaultExt;
    dialog.Flags = picker::kSaveFlags | (overwritePrompt == 1 ? picker::kOverwritePrompt : 0);
    return pickerPlatform().GetSaveFileNameW(dialog) == 1 ? 1 : 0;
}

int32_t QLCommon::BrowseFolder(QLWindow owner, QLWChar* path, int32_t capacity) {
    if (!state_ || !path || capacity < 1) return 0;
    PickerPlatform& p = pickerPlatform();

    // Declared so that the scope ends by releasing the dialog, then the
    // result item, then the initial folder.
    ComRef folder(p);
    ComRef result(p);
    ComRef dialog(p);

    const bool given = terminatedWithin(path, capacity) &&
                       succeeded(p.SHCreateItemFromParsingName(path, nullptr, picker::kIShellItem, folder.out()));
    if (!given) {
        // The jobs folder below the common product folder; it is not made
        // here, so a missing one ends the call.
        call(&ICommonVtbl::GetCommonProductFolder, path, capacity);
        if (!terminatedWithin(path, capacity)) path[0] = 0;
        appendTruncated(path, std::min(capacity, picker::kFallbackChars), QL_WIDE("\\Jobs"));
        if (!succeeded(p.SHCreateItemFromParsingName(path, nullptr, picker::kIShellItem, folder.out()))) return 0;
    }

    if (!succeeded(p.CoCreateInstance(picker::kFileOpenDialog, nullptr, picker::kInprocServer,
                                      picker::kIFileDialog, dialog.out())))
        return 0;
    // Folder mode alone: the dialog's default options are replaced.
    p.SetOptions(dialog.get(), picker::kPickFolders);
    p.SetFolder(dialog.get(), folder.get());
    if (p.Show(dialog.get(), owner) != 0) return 0;  // cancel or failure

    if (!succeeded(p.GetResult(dialog.get(), result.out())) || !result.get()) return 0;
    TaskMemText name(p);
    p.GetDisplayName(result.get(), picker::kFileSysPath, name.out());
    if (!name.get()) return 0;  // an item without a file-system path
    return copyWhole(path, capacity, name.get()) ? 1 : 0;
}

}  // namespace ql
