// Safe float-to-integer conversions for set-up arithmetic: NaN gives 0 and
// out-of-range values saturate, so no conversion is undefined.
#pragma once

#include <cmath>
#include <cstdint>

namespace pix {

// Truncation toward zero, saturating to +-limit.
inline long long TruncSaturated(double v, long long limit)
{
    if (!(v == v))
        return 0;
    if (v >= double(limit))
        return limit;
    if (v <= -double(limit))
        return -limit;
    return static_cast<long long>(v);
}

// Rounding half away from zero, saturating to +-limit.
inline long long RoundSaturated(double v, long long limit) { return TruncSaturated(v < 0 ? v - 0.5 : v + 0.5, limit); }

// Largest magnitude used for pixel coordinates derived from floats.
constexpr long long kCoordLimit = 1LL << 30;

}  // namespace pix
