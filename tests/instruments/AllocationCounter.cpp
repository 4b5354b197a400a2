#include "AllocationCounter.h"

#include <atomic>
#include <cstddef>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> made{0};

void Note()
{
    if (counting.load(std::memory_order_relaxed))
        made.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

#if !defined(VIBRASCEND_SANITIZED)

#include <cerrno>

// The C library's own entry points, which the replacements below forward to.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);

void* malloc(size_t size)
{
    Note();
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size)
{
    Note();
    return __libc_calloc(count, size);
}

void* realloc(void* p, size_t size)
{
    Note();
    return __libc_realloc(p, size);
}

void* aligned_alloc(size_t alignment, size_t size)
{
    Note();
    return __libc_memalign(alignment, size);
}

void* memalign(size_t alignment, size_t size)
{
    Note();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size)
{
    Note();
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* p = __libc_memalign(alignment, size);
    if (!p && size)
        return ENOMEM;
    *out = p;
    return 0;
}
}  // extern "C"

bool allocation_counter::Available() { return true; }

#else

bool allocation_counter::Available() { return false; }

#endif

void allocation_counter::Start()
{
    made = 0;
    counting = true;
}

long allocation_counter::Stop()
{
    counting = false;
    return made.load();
}
