#include "platform/RecursiveLock.h"

#include <windows.h>

namespace platform {

namespace {

CRITICAL_SECTION* SectionOf(unsigned char* storage) { return reinterpret_cast<CRITICAL_SECTION*>(storage); }

}  // namespace

static_assert(sizeof(CRITICAL_SECTION) <= 40 && alignof(CRITICAL_SECTION) <= 8,
              "RecursiveLock's storage must hold a CRITICAL_SECTION");

RecursiveLock::RecursiveLock() { InitializeCriticalSection(SectionOf(section)); }

RecursiveLock::~RecursiveLock() { DeleteCriticalSection(SectionOf(section)); }

void RecursiveLock::lock() { EnterCriticalSection(SectionOf(section)); }

void RecursiveLock::unlock() { LeaveCriticalSection(SectionOf(section)); }

bool RecursiveLock::try_lock() { return TryEnterCriticalSection(SectionOf(section)) != FALSE; }

}  // namespace platform
