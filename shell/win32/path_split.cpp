// SplitPath and SplitPathExt (slots 4 and 5): the portable splitting of
// shell/path_split.cpp, on any service object.
#include "object/win32/qlcommon_impl.h"
#include "shell/path_split.h"

namespace ql {

void QLCommon::SplitPath(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name,
                         int32_t nameCapacity) {
    splitPath(path, folder, folderCapacity, name, nameCapacity);
}

void QLCommon::SplitPathExt(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name,
                            int32_t nameCapacity, QLWChar* ext, int32_t extCapacity) {
    splitPathExt(path, folder, folderCapacity, name, nameCapacity, ext, extCapacity);
}

}  // namespace ql
