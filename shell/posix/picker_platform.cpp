// The pickers' platform calls in the native build: there are no standard
// dialogs, so the open and save pickers report cancel, no shell item can be
// made, and no dialog object is created.
#include "shell/picker_platform.h"

namespace ql {

namespace {

constexpr int32_t kNotImplemented = static_cast<int32_t>(0x80004001u);  // E_NOTIMPL

struct PosixPickerPlatform final : PickerPlatform {
    int32_t GetOpenFileNameW(FileDialogDescription&) override { return 0; }
    int32_t GetSaveFileNameW(FileDialogDescription&) override { return 0; }
    int32_t SHCreateItemFromParsingName(const QLWChar*, void*, const QLGuid&, void** item) override {
        *item = nullptr;
        return kNotImplemented;
    }
    int32_t CoCreateInstance(const QLGuid&, void*, uint32_t, const QLGuid&, void** object) override {
        *object = nullptr;
        return kNotImplemented;
    }
    int32_t SetOptions(void*, uint32_t) override { return kNotImplemented; }
    int32_t SetFolder(void*, void*) override { return kNotImplemented; }
    int32_t Show(void*, void*) override { return kNotImplemented; }
    int32_t GetResult(void*, void** item) override {
        *item = nullptr;
        return kNotImplemented;
    }
    int32_t GetDisplayName(void*, uint32_t, QLWChar** name) override {
        *name = nullptr;
        return kNotImplemented;
    }
    void CoTaskMemFree(void*) override {}
    uint32_t Release(void*) override { return 0; }
};

}  // namespace

PickerPlatform& nativePickerPlatform() {
    static PosixPickerPlatform platform;
    return platform;
}

}  // namespace ql
