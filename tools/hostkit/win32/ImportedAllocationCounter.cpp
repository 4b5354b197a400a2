#include "tools/hostkit/win32/ImportedAllocationCounter.h"

#include <windows.h>

#include <atomic>
#include <cstring>

namespace platform {

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void Count()
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}

// The runtime's functions as the module first imported them.
using Malloc = void* (*)(size_t);
using Calloc = void* (*)(size_t, size_t);
using Realloc = void* (*)(void*, size_t);
using AlignedMalloc = void* (*)(size_t, size_t);
using AlignedRealloc = void* (*)(void*, size_t, size_t);
using Strdup = char* (*)(const char*);
Malloc originalMalloc = nullptr;
Calloc originalCalloc = nullptr;
Realloc originalRealloc = nullptr;
AlignedMalloc originalAlignedMalloc = nullptr;
AlignedRealloc originalAlignedRealloc = nullptr;
Strdup originalStrdup = nullptr;

void* CountedMalloc(size_t size)
{
    Count();
    return originalMalloc(size);
}
void* CountedCalloc(size_t count, size_t size)
{
    Count();
    return originalCalloc(count, size);
}
void* CountedRealloc(void* block, size_t size)
{
    Count();
    return originalRealloc(block, size);
}
void* CountedAlignedMalloc(size_t size, size_t alignment)
{
    Count();
    return originalAlignedMalloc(size, alignment);
}
void* CountedAlignedRealloc(void* block, size_t size, size_t alignment)
{
    Count();
    return originalAlignedRealloc(block, size, alignment);
}
char* CountedStrdup(const char* text)
{
    Count();
    return originalStrdup(text);
}

struct Replacement {
    const char* name;
    void** original;
    void* counted;
};

const Replacement kReplacements[] = {
    {"malloc", reinterpret_cast<void**>(&originalMalloc), reinterpret_cast<void*>(&CountedMalloc)},
    {"calloc", reinterpret_cast<void**>(&originalCalloc), reinterpret_cast<void*>(&CountedCalloc)},
    {"realloc", reinterpret_cast<void**>(&originalRealloc), reinterpret_cast<void*>(&CountedRealloc)},
    {"_aligned_malloc", reinterpret_cast<void**>(&originalAlignedMalloc),
     reinterpret_cast<void*>(&CountedAlignedMalloc)},
    {"_aligned_realloc", reinterpret_cast<void**>(&originalAlignedRealloc),
     reinterpret_cast<void*>(&CountedAlignedRealloc)},
    {"_strdup", reinterpret_cast<void**>(&originalStrdup), reinterpret_cast<void*>(&CountedStrdup)},
    {"strdup", reinterpret_cast<void**>(&originalStrdup), reinterpret_cast<void*>(&CountedStrdup)},
};

const Replacement* ReplacementFor(const char* name)
{
    for (const Replacement& r : kReplacements)
        if (std::strcmp(r.name, name) == 0)
            return &r;
    return nullptr;
}

void WriteSlot(void** slot, void* value)
{
    DWORD previous = 0;
    if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &previous))
        return;
    *slot = value;
    VirtualProtect(slot, sizeof(void*), previous, &previous);
}

}  // namespace

ImportedAllocationCounter::ImportedAllocationCounter(const void* module)
{
    if (!module)
        return;
    const auto* base = static_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return;
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return;
    for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        // The names stay in the lookup table; the address table holds what the loader bound.
        const DWORD lookup = library->OriginalFirstThunk ? library->OriginalFirstThunk : library->FirstThunk;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + lookup);
        auto* bound = reinterpret_cast<IMAGE_THUNK_DATA*>(const_cast<BYTE*>(base) + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++bound) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const Replacement* r = ReplacementFor(reinterpret_cast<const char*>(byName->Name));
            if (!r)
                continue;
            void** address = reinterpret_cast<void**>(&bound->u1.Function);
            if (!*r->original)
                *r->original = *address;
            slots.push_back(Slot{address, *address});
            WriteSlot(address, r->counted);
        }
    }
}

ImportedAllocationCounter::~ImportedAllocationCounter()
{
    counting = false;
    for (const Slot& slot : slots)
        WriteSlot(slot.address, slot.original);
}

void ImportedAllocationCounter::Start()
{
    allocations = 0;
    counting = true;
}

long ImportedAllocationCounter::Stop()
{
    counting = false;
    return allocations.load();
}

}  // namespace platform
