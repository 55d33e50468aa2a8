// The names of the host's folder tree, each with its leading backslash.
#ifndef QL_SHELL_FOLDER_TREE_H
#define QL_SHELL_FOLDER_TREE_H

#include "object/wide_text.h"

namespace ql {

constexpr const QLWChar* kCompanyFolderName = QL_WIDE("\\Tamarisk Works");
constexpr const QLWChar* kProductFolderName = QL_WIDE("\\Vellmar");
constexpr const QLWChar* kJobsFolderName = QL_WIDE("\\Jobs");
constexpr const QLWChar* kFontsFolderName = QL_WIDE("\\Fonts");
constexpr const QLWChar* kGraphixFolderName = QL_WIDE("\\Graphix");
constexpr const QLWChar* kCacheFolderName = QL_WIDE("\\Cache");
constexpr const QLWChar* kControllersFolderName = QL_WIDE("\\Controllers");
constexpr const QLWChar* kSettingsFileName = QL_WIDE("\\Vellmar.ini");
constexpr const QLWChar* kDataFileName = QL_WIDE("\\Vellmar.vdk");

}  // namespace ql

#endif
