#include "platform/ProcessClock.h"

#include <time.h>

uint32_t ProcessClockMs()
{
    // The coarse clock is read from memory the kernel updates each tick, with no timer access.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}
