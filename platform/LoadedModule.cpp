#include "platform/LoadedModule.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<void*> loadedModule{nullptr};
}

void RecordLoadedModule(void* handle) { loadedModule.store(handle); }

void* LoadedModule() { return loadedModule.load(); }

}  // namespace platform
