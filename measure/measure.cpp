// Length units, measure parsing and formatting, and the two numeric helpers.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

int32_t QLCommon::MulDivRound(double /*a*/, double /*b*/, double /*c*/) { return 0; }

// Slot 7 is slot 6 under a second name.  With GCC (the DLL's compiler) both
// table entries hold the address of the one body; clang, used only for the
// fuzz build, takes no alias on a member and gets a forwarder.
#if defined(__clang__)
int32_t QLCommon::MulDivRound2(double a, double b, double c) { return MulDivRound(a, b, c); }
#else
int32_t QLCommon::MulDivRound2(double a, double b, double c)
    __attribute__((alias("_ZN2ql8QLCommon11MulDivRoundEddd")));
#endif
double QLCommon::Hypotenuse(double /*a*/, double /*b*/) { return 0.0; }
void QLCommon::FormatMeasure(int32_t /*thousandths*/, QLWChar* /*text*/, int32_t /*capacity*/, int32_t /*unit*/, int32_t /*decimals*/) {}
int32_t QLCommon::ParseMeasure(const QLWChar* /*text*/, int32_t /*unit*/) { return 0; }
QLBool QLCommon::ParseFractionalMeasureW(const QLWChar* /*text*/, int32_t /*textUnit*/, float* /*out*/, int32_t /*targetUnit*/) { return 0; }
QLBool QLCommon::ParseFractionalMeasureRounded(const QLWChar* /*text*/, int32_t /*textUnit*/, int32_t* /*out*/, int32_t /*targetUnit*/) { return 0; }
QLBool QLCommon::ParseFractionalMeasureA(const char* /*text*/, int32_t /*textUnit*/, float* /*out*/, int32_t /*targetUnit*/) { return 0; }

}  // namespace ql
