// The process clock: milliseconds of a monotonic clock, as a wrapping 32-bit count. Only
// differences of two readings (taken as unsigned) carry meaning.
#pragma once

#include <cstdint>

uint32_t ProcessClockMs();
