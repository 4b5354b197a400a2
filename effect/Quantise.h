// Rounding of parameter values to the integers the effect compares and applies.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Nearest integer with halves away from zero; NaN gives 0 and values beyond the int32 range
// saturate, so any double has a defined answer. Inline: every applied change rounds several values.
inline int32_t NearestInt(double x)
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

// The quantised value of parameter `index` at plain value `value`, at the quantum its row of the
// parameter table gives: tenths of a dB for the gains, hundredths of a Hz for the LFO
// frequencies, the nearest integer otherwise (and for indexes outside the table).
int32_t QuantiseParam(int index, double value);
