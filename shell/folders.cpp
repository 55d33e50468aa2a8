// The host's folder tree and named files.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

void QLCommon::GetUserCompanyFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetUserProductFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetCommonCompanyFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetFontsFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetInstallCompanyFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetCacheFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetInstallProductFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetControllersFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
const QLWChar* QLCommon::GetSettingsFilePath() { return nullptr; }
void QLCommon::GetCommonProductFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetDataFilePath(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetDesktopFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::GetJobsFolder(QLWChar* /*buffer*/, int32_t /*capacity*/) {}

}  // namespace ql
