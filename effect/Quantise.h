// Rounding of parameter values to the integers the effect compares and applies.
#pragma once

#include <cstdint>

// Nearest integer with halves away from zero; NaN gives 0 and values beyond the int32 range
// saturate, so any double has a defined answer.
int32_t NearestInt(double x);

// The quantised value of parameter `index` at plain value `value`: tenths of a dB for the
// gains (2-4), hundredths of a Hz for the LFO frequencies (7, 11), the nearest integer otherwise.
int32_t QuantiseParam(int index, double value);
