// The current implementation of the handle back end's platform seam.
#include "datafile/file_api.h"

namespace ql {

namespace {
FileApi* installed = nullptr;  // a test's fake, or null for the platform's own
}  // namespace

FileApi& fileApi() { return installed ? *installed : platformFileApi(); }

void setFileApi(FileApi* api) { installed = api; }

}  // namespace ql
