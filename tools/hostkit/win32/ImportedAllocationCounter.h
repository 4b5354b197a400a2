// Counts the heap allocations a loaded library makes through the C runtime it imports (malloc,
// calloc, realloc and their relatives), by pointing those imports at counting functions while an
// object of this class lives. A library's own operator new reaches the runtime through the same
// imports, so tests see whether code inside the library allocates. One object at a time.
#pragma once

#include <vector>

namespace platform {

class ImportedAllocationCounter {
public:
    // Redirects the allocation imports of the module (a handle as LoadLibrary answers it).
    explicit ImportedAllocationCounter(const void* module);
    // Puts the original imports back.
    ~ImportedAllocationCounter();
    ImportedAllocationCounter(const ImportedAllocationCounter&) = delete;
    ImportedAllocationCounter& operator=(const ImportedAllocationCounter&) = delete;

    // How many import slots now count; 0 when the module imports no allocation function.
    int RedirectedImports() const { return static_cast<int>(slots.size()); }
    // Counts from zero until Stop, which answers the count.
    void Start();
    long Stop();

private:
    // One redirected entry of the module's import address table and what it held before.
    struct Slot {
        void** address;
        void* original;
    };

    std::vector<Slot> slots;
};

}  // namespace platform
