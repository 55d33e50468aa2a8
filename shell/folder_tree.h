// The names of the host's folder tree, each with its leading backslash.
#ifndef QL_SHELL_FOLDER_TREE_H
#define QL_SHELL_FOLDER_TREE_H

#include "shell/folder_text.h"

namespace ql {

constexpr const QLWChar* kCompanyFolderName = QL_WTEXT("\\Tamarisk Works");
constexpr const QLWChar* kProductFolderName = QL_WTEXT("\\Vellmar");
constexpr const QLWChar* kJobsFolderName = QL_WTEXT("\\Jobs");
constexpr const QLWChar* kFontsFolderName = QL_WTEXT("\\Fonts");
constexpr const QLWChar* kGraphixFolderName = QL_WTEXT("\\Graphix");
constexpr const QLWChar* kCacheFolderName = QL_WTEXT("\\Cache");
constexpr const QLWChar* kControllersFolderName = QL_WTEXT("\\Controllers");
constexpr const QLWChar* kSettingsFileName = QL_WTEXT("\\Vellmar.ini");
constexpr const QLWChar* kDataFileName = QL_WTEXT("\\Vellmar.vdk");

}  // namespace ql

#endif
