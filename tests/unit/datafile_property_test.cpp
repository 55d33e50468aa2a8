// Random writes through either back end, read back with random reads of
// every kind, compared byte for byte with a model.
#include <gtest/gtest.h>

#include "datafile_model.h"
#include "datafile_test_util.h"

namespace {

using namespace dftest;

TEST(DatafileProperty, RandomWritesReadBackLikeTheModel) {
    ScratchDir dir("property");
    const auto path = dir.file("prøperty.dat");
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Object obj;
        dfmodel::Sequence(obj.get(), seed).run(qlPath(path), [&](const dfmodel::Bytes& b) { writeAll(path, b); }, 120);
        if (HasFailure()) return;
    }
}

}  // namespace
