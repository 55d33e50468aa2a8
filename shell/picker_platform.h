// The platform calls behind the open, save and folder pickers.
//
// The open and save pickers hand the platform a dialog description; the
// fields the library sets are carried in FileDialogDescription, which the
// Windows implementation copies into a zeroed OPENFILENAMEW (every other
// field zero or null).  The folder picker talks to COM objects; the seam
// passes interface pointers as void* and names each method after the COM
// method it calls.  Results are HRESULTs as int32_t (0 is S_OK, negative a
// failure).  shell/posix/ has no dialogs: the pickers report cancel there.
#ifndef QL_SHELL_PICKER_PLATFORM_H
#define QL_SHELL_PICKER_PLATFORM_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

// The fields of OPENFILENAMEW the pickers fill.
struct FileDialogDescription {
    void* hwndOwner = nullptr;
    const QLWChar* lpstrFilter = nullptr;
    uint32_t nFilterIndex = 0;
    QLWChar* lpstrFile = nullptr;
    uint32_t nMaxFile = 0;
    const QLWChar* lpstrInitialDir = nullptr;
    const QLWChar* lpstrTitle = nullptr;
    const QLWChar* lpstrDefExt = nullptr;
    uint32_t Flags = 0;
};

// A COM class or interface identifier, laid out as the platform's GUID.
struct QLGuid {
    uint32_t data1;
    uint16_t data2, data3;
    uint8_t data4[8];
};

struct PickerPlatform {
    virtual int32_t GetOpenFileNameW(FileDialogDescription& dialog) = 0;  // BOOL
    virtual int32_t GetSaveFileNameW(FileDialogDescription& dialog) = 0;  // BOOL
    virtual int32_t SHCreateItemFromParsingName(const QLWChar* path, void* bindContext, const QLGuid& iid,
                                                void** item) = 0;
    virtual int32_t CoCreateInstance(const QLGuid& clsid, void* outer, uint32_t context, const QLGuid& iid,
                                     void** object) = 0;
    virtual int32_t SetOptions(void* fileDialog, uint32_t options) = 0;      // IFileDialog
    virtual int32_t SetFolder(void* fileDialog, void* shellItem) = 0;        // IFileDialog
    virtual int32_t Show(void* fileDialog, void* owner) = 0;                 // IModalWindow
    virtual int32_t GetResult(void* fileDialog, void** shellItem) = 0;       // IFileDialog
    virtual int32_t GetDisplayName(void* shellItem, uint32_t sigdn, QLWChar** name) = 0;  // IShellItem
    virtual void CoTaskMemFree(void* memory) = 0;
    virtual uint32_t Release(void* unknown) = 0;                             // IUnknown

protected:
    ~PickerPlatform() = default;
};

PickerPlatform& nativePickerPlatform();

// The implementation in use; setPickerPlatform(nullptr) restores the native
// one and each call returns the one it replaced.
PickerPlatform& pickerPlatform();
PickerPlatform* setPickerPlatform(PickerPlatform* platform);

namespace picker {
constexpr uint32_t kOpenFlags = 0x81C04;   // EXPLORER|FILEMUSTEXIST|PATHMUSTEXIST|EXTENSIONDIFFERENT|HIDEREADONLY
constexpr uint32_t kAllowMultiSelect = 0x200;
constexpr uint32_t kSaveFlags = 0x2000C04; // DONTADDTORECENT|PATHMUSTEXIST|EXTENSIONDIFFERENT|HIDEREADONLY
constexpr uint32_t kOverwritePrompt = 0x2;
constexpr uint32_t kInprocServer = 1;      // CLSCTX_INPROC_SERVER
constexpr uint32_t kPickFolders = 0x20;    // FOS_PICKFOLDERS
constexpr uint32_t kFileSysPath = 0x80058000u;  // SIGDN_FILESYSPATH
constexpr int32_t kFallbackChars = 512;    // the jobs folder path, terminator included

constexpr QLGuid kFileOpenDialog = {0xDC1C5A9C, 0xE88A, 0x4DDE, {0xA5, 0xA1, 0x60, 0xF8, 0x2A, 0x20, 0xAE, 0xF7}};
constexpr QLGuid kIFileDialog = {0x42F85136, 0xDB7E, 0x439C, {0x85, 0xF1, 0xE4, 0x07, 0x5D, 0x13, 0x5F, 0xC8}};
constexpr QLGuid kIShellItem = {0x43826D1E, 0xE718, 0x42EE, {0xBC, 0x55, 0xA1, 0xE2, 0x61, 0xC3, 0x7B, 0xFE}};
}  // namespace picker

}  // namespace ql

#endif
