#include "platform/ProcessClock.h"

#include <windows.h>

uint32_t ProcessClockMs() { return static_cast<uint32_t>(GetTickCount64()); }
