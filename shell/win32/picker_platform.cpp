// The pickers' platform calls on Windows: the common dialogs and the
// file-open dialog object.
#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shobjidl.h>

#include <cstring>

#include "shell/picker_platform.h"

namespace ql {

namespace {

static_assert(sizeof(QLGuid) == sizeof(GUID), "QLGuid is laid out as GUID");

GUID guid(const QLGuid& g) {
    GUID out;
    std::memcpy(&out, &g, sizeof out);
    return out;
}

OPENFILENAMEW toOpenFileName(const FileDialogDescription& d) {
    OPENFILENAMEW ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = static_cast<HWND>(d.hwndOwner);
    ofn.lpstrFilter = d.lpstrFilter;
    ofn.nFilterIndex = d.nFilterIndex;
    ofn.lpstrFile = d.lpstrFile;
    ofn.nMaxFile = d.nMaxFile;
    ofn.lpstrInitialDir = d.lpstrInitialDir;
    ofn.lpstrTitle = d.lpstrTitle;
    ofn.lpstrDefExt = d.lpstrDefExt;
    ofn.Flags = d.Flags;
    return ofn;
}

IFileDialog* fileDialog(void* p) { return static_cast<IFileDialog*>(p); }

struct Win32PickerPlatform final : PickerPlatform {
    int32_t GetOpenFileNameW(FileDialogDescription& d) override {
        OPENFILENAMEW ofn = toOpenFileName(d);
        return ::GetOpenFileNameW(&ofn);
    }
    int32_t GetSaveFileNameW(FileDialogDescription& d) override {
        OPENFILENAMEW ofn = toOpenFileName(d);
        return ::GetSaveFileNameW(&ofn);
    }
    int32_t SHCreateItemFromParsingName(const QLWChar* path, void* bindContext, const QLGuid& iid,
                                        void** item) override {
        const GUID id = guid(iid);
        return ::SHCreateItemFromParsingName(path, static_cast<IBindCtx*>(bindContext), id, item);
    }
    int32_t CoCreateInstance(const QLGuid& clsid, void* outer, uint32_t context, const QLGuid& iid,
                             void** object) override {
        const GUID cls = guid(clsid);
        const GUID id = guid(iid);
        return ::CoCreateInstance(cls, static_cast<IUnknown*>(outer), context, id, object);
    }
    int32_t SetOptions(void* d, uint32_t options) override { return fileDialog(d)->SetOptions(options); }
    int32_t SetFolder(void* d, void* item) override { return fileDialog(d)->SetFolder(static_cast<IShellItem*>(item)); }
    int32_t Show(void* d, void* owner) override { return fileDialog(d)->Show(static_cast<HWND>(owner)); }
    int32_t GetResult(void* d, void** item) override {
        IShellItem* result = nullptr;
        const HRESULT hr = fileDialog(d)->GetResult(&result);
        *item = result;
        return hr;
    }
    int32_t GetDisplayName(void* item, uint32_t sigdn, QLWChar** name) override {
        return static_cast<IShellItem*>(item)->GetDisplayName(static_cast<SIGDN>(sigdn), name);
    }
    void CoTaskMemFree(void* memory) override { ::CoTaskMemFree(memory); }
    uint32_t Release(void* unknown) override { return static_cast<IUnknown*>(unknown)->Release(); }
};

}  // namespace

PickerPlatform& nativePickerPlatform() {
    static Win32PickerPlatform platform;
    return platform;
}

}  // namespace ql
