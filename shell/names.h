// The shell's fixed names and sizes: the host's folder tree, each name with
// its leading backslash (texts are composed in kWorkingSize units).
#ifndef QL_SHELL_NAMES_H
#define QL_SHELL_NAMES_H

#include <cstddef>

#include "base/wide_text.h"

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
