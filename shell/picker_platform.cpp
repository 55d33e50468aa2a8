// The current implementation of the pickers' platform calls.
#include "shell/picker_platform.h"

namespace ql {

namespace {
PickerPlatform* current = nullptr;  // null: the native implementation
}  // namespace

PickerPlatform& pickerPlatform() {
    return current ? *current : nativePickerPlatform();
}

PickerPlatform* setPickerPlatform(PickerPlatform* platform) {
    PickerPlatform* previous = &pickerPlatform();
    current = platform;
    return previous;
}

}  // namespace ql
