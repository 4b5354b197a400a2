#include "framework/ModuleInstance.h"

#include <atomic>

namespace {
std::atomic<void*> moduleInstance{nullptr};
}

void SetModuleInstance(void* handle) { moduleInstance.store(handle); }

void* ModuleInstance() { return moduleInstance.load(); }
