// Conversions of doubles and floats to signed 32-bit integers, truncating
// toward zero, for results the host receives as whole numbers.
//
// The hardware conversion gives an undefined result in C++ for values out
// of range; the library settles it: not-a-number gives 0, and values beyond
// the 32-bit range (infinities included) give the nearest end of the range.
#ifndef QL_MEASURE_WHOLE_NUMBER_H
#define QL_MEASURE_WHOLE_NUMBER_H

#include <cstdint>

namespace ql {

inline int32_t truncateToInt32(double v) {
    if (v != v) return 0;
    if (v >= 2147483648.0) return INT32_MAX;
    if (v <= -2147483649.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

inline int32_t truncateToInt32(float v) {
    if (v != v) return 0;
    if (v >= 2147483648.0f) return INT32_MAX;
    if (v < -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace ql

#endif
