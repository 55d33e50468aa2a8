// The open, save and folder pickers.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

int32_t QLCommon::BrowseOpenFile(QLWindow /*owner*/, const QLWChar* /*filters*/, const QLWChar* /*defaultExt*/, QLWChar* /*file*/, uint32_t /*capacity*/, QLBool /*allowMulti*/) { return 0; }
int32_t QLCommon::BrowseSaveFile(QLWindow /*owner*/, const QLWChar* /*filters*/, const QLWChar* /*defaultExt*/, QLWChar* /*file*/, uint32_t /*capacity*/, const QLWChar* /*title*/, QLBool /*overwritePrompt*/) { return 0; }
int32_t QLCommon::BrowseFolder(QLWindow /*owner*/, QLWChar* /*path*/, int32_t /*capacity*/) { return 0; }

}  // namespace ql
