// The process-wide current folder platform.
#include "shell/folder_platform.h"

namespace ql {

namespace {
FolderPlatform* current = nullptr;  // null: the platform's own
}  // namespace

FolderPlatform& folderPlatform() { return current ? *current : nativeFolderPlatform(); }

FolderPlatform* setFolderPlatform(FolderPlatform* platform) {
    FolderPlatform* previous = &folderPlatform();
    current = platform;
    return previous;
}

}  // namespace ql
