// The process clock: milliseconds of a monotonic clock, as a wrapping 32-bit count. Only
// differences of two readings (taken as unsigned) carry meaning. It is read once per process
// call, so it is the system's cheap tick count (a few milliseconds of resolution), not a
// high-resolution timer.
#pragma once

#include <cstdint>

uint32_t ProcessClockMs();
