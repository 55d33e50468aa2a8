// Random writes through either back end, read back with random reads of
// every kind, compared byte for byte with a model.  Set
// QL_LONG_PROPERTY_TESTS=1 for a long run.
#include <gtest/gtest.h>

#include <cstdlib>

#include "datafile_model.h"
#include "datafile_test_util.h"

namespace {

using namespace dftest;

uint32_t propertyRounds(uint32_t quick, uint32_t slow) {
    const char* env = std::getenv("QL_LONG_PROPERTY_TESTS");
    return env && *env && *env != '0' ? slow : quick;
}

TEST(DatafileProperty, RandomWritesReadBackLikeTheModel) {
    ScratchDir dir("property");
    const auto path = dir.file("prøperty.dat");
    const uint32_t rounds = propertyRounds(60, 2000);
    for (uint32_t seed = 1; seed <= rounds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Object obj;
        dfmodel::Sequence(obj.get(), seed).run(qlPath(path), [&](const dfmodel::Bytes& b) { writeAll(path, b); }, 120);
        if (HasFailure()) return;
    }
}

}  // namespace
