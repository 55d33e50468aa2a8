// Splitting a path into folder, name and extension: pure text work behind
// SplitPath and SplitPathExt (slots 4 and 5).  Each output is optional (a
// null buffer or a capacity below 1 is not wanted and never touched).
#ifndef QL_SHELL_PATH_SPLIT_H
#define QL_SHELL_PATH_SPLIT_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

void splitPath(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name, int32_t nameCapacity);

void splitPathExt(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name,
                  int32_t nameCapacity, QLWChar* ext, int32_t extCapacity);

}  // namespace ql

#endif
