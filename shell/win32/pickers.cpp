// The open, save and folder pickers.  Each fills the system's dialog
// description (or drives the file-open dialog object in folder mode), runs
// the modal dialog on the calling thread and leaves the chosen path in the
// caller's buffer.
#include <windows.h>
#include <commdlg.h>
#include <shobjidl.h>

#include <algorithm>

#include "base/wide_text.h"
#include "object/win32/qlcommon_impl.h"
#include "shell/names.h"
#include "shell/win32/shell_handles.h"
#include "shell/window_rules.h"

namespace ql {

namespace {

constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXTENSIONDIFFERENT |
                             OFN_HIDEREADONLY;  // hex 81C04
constexpr DWORD kSaveFlags = OFN_DONTADDTORECENT | OFN_PATHMUSTEXIST | OFN_EXTENSIONDIFFERENT |
                             OFN_HIDEREADONLY;  // hex 2000C04

// The fields both pickers fill; every other field is zero.
OPENFILENAMEW describe(HWND owner, const QLWChar* filters, const QLWChar* defaultExt, QLWChar* file,
                       uint32_t capacity, DWORD flags) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters;
    dialog.lpstrFile = file;
    dialog.nMaxFile = capacity;
    dialog.lpstrDefExt = defaultExt;
    dialog.Flags = flags;
    return dialog;
}

// A shell item for the folder in `path` (null when there is none).
Com<IShellItem> shellItem(const QLWChar* path) {
    Com<IShellItem> item;  // a failed call leaves it empty
    SHCreateItemFromParsingName(path, nullptr, IID_PPV_ARGS(item.put()));
    return item;
}

}  // namespace

int32_t QLCommon::BrowseOpenFile(QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt,
                                 QLWChar* file, uint32_t capacity, QLBool allowMulti) {
    // Without a buffer there is nowhere for the dialog to read or write.
    if (!file || capacity == 0) return 0;
    OPENFILENAMEW dialog = describe(hostWindow(owner), filters, defaultExt, file, capacity,
                                    kOpenFlags | (allowMulti == 1 ? OFN_ALLOWMULTISELECT : 0));
    dialog.nFilterIndex = openFilterIndex(filters, defaultExt);
    return GetOpenFileNameW(&dialog) == 1 ? 1 : 0;
}

int32_t QLCommon::BrowseSaveFile(QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt,
                                 QLWChar* file, uint32_t capacity, const QLWChar* title,
                                 QLBool overwritePrompt) {
    if (!file || capacity == 0) return 0;
    OPENFILENAMEW dialog = describe(hostWindow(owner), filters, defaultExt, file, capacity,
                                    kSaveFlags | (overwritePrompt == 1 ? OFN_OVERWRITEPROMPT : 0));
    dialog.nFilterIndex = saveFilterIndex(defaultExt);
    dialog.lpstrTitle = title;
    return GetSaveFileNameW(&dialog) == 1 ? 1 : 0;
}

int32_t QLCommon::BrowseFolder(QLWindow owner, QLWChar* path, int32_t capacity) {
    if (!state_ || !path || capacity < 1) return 0;
    const size_t bound = static_cast<size_t>(capacity);

    // A path without a terminator within the capacity is not parsed.
    Com<IShellItem> folder = textLength(path, bound) < bound ? shellItem(path) : Com<IShellItem>();
    if (!folder) {
        // The jobs folder below the common product folder; it is not made
        // here, so a missing one ends the call.
        call(&ICommonVtbl::GetCommonProductFolder, path, capacity);
        if (path[0] == 0 || !appendBounded(path, std::min(bound, kWorkingSize), kJobsFolderName)) return 0;
        folder = shellItem(path);
        if (!folder) return 0;
    }

    Com<IFileDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.put()))))
        return 0;
    // Folder mode alone: the dialog's default options are replaced.
    dialog.get()->SetOptions(FOS_PICKFOLDERS);
    dialog.get()->SetFolder(folder.get());
    if (dialog.get()->Show(hostWindow(owner)) != S_OK) return 0;  // cancel or failure

    Com<IShellItem> result;  // COM leaves an out-pointer null when a call fails
    if (FAILED(dialog.get()->GetResult(result.put())) || !result) return 0;
    ShellText name;
    result.get()->GetDisplayName(SIGDN_FILESYSPATH, name.put());
    // An item without a file-system path, or a path that does not fit: a
    // cut path would name another folder, so the buffer stays as it was.
    if (!name || textLength(name.get(), bound) >= bound) return 0;
    copyBounded(path, bound, name.get());
    return 1;
}

}  // namespace ql
