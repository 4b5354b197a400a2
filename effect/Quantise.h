// Rounding of parameter values to the integers the effect compares and applies.
#pragma once

#include <cstdint>

// Nearest integer with halves away from zero; NaN gives 0 and values beyond the int32 range
// saturate, so any double has a defined answer.
int32_t NearestInt(double x);

// The quantised value of parameter `index` at plain value `value`, at the quantum its row of the
// parameter table gives: tenths of a dB for the gains, hundredths of a Hz for the LFO
// frequencies, the nearest integer otherwise (and for indexes outside the table).
int32_t QuantiseParam(int index, double value);
