#include "effect/Quantise.h"

#include "effect/VibrascendParams.h"

#include <cmath>
#include <limits>

int32_t NearestInt(double x)
{
    if (std::isnan(x))
        return 0;
    const double rounded = x < 0.0 ? x - 0.5 : x + 0.5;
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (rounded <= lowest)
        return std::numeric_limits<int32_t>::min();
    if (rounded >= highest)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(rounded);
}

int32_t QuantiseParam(int index, double value)
{
    const VibrascendParamRow* row = VibrascendParamRowOf(index);
    return NearestInt(row ? value * row->quantum : value);
}
