#include "LockCounter.h"

#include <atomic>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> taken{0};

void Note()
{
    if (counting.load(std::memory_order_relaxed))
        taken.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

#if !defined(_WIN32) && !defined(VIBRASCEND_SANITIZED)

#include <dlfcn.h>
#include <pthread.h>

namespace {

template <class F>
F Next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// Looked up before main, so that no lookup happens inside a counted call.
const auto realMutexLock = Next<int (*)(pthread_mutex_t*)>("pthread_mutex_lock");
const auto realMutexTryLock = Next<int (*)(pthread_mutex_t*)>("pthread_mutex_trylock");
const auto realReadLock = Next<int (*)(pthread_rwlock_t*)>("pthread_rwlock_rdlock");
const auto realWriteLock = Next<int (*)(pthread_rwlock_t*)>("pthread_rwlock_wrlock");
const auto realSpinLock = Next<int (*)(pthread_spinlock_t*)>("pthread_spin_lock");

}  // namespace

extern "C" {

int pthread_mutex_lock(pthread_mutex_t* mutex)
{
    Note();
    return realMutexLock(mutex);
}

int pthread_mutex_trylock(pthread_mutex_t* mutex)
{
    Note();
    return realMutexTryLock(mutex);
}

int pthread_rwlock_rdlock(pthread_rwlock_t* lock)
{
    Note();
    return realReadLock(lock);
}

int pthread_rwlock_wrlock(pthread_rwlock_t* lock)
{
    Note();
    return realWriteLock(lock);
}

int pthread_spin_lock(pthread_spinlock_t* lock)
{
    Note();
    return realSpinLock(lock);
}

}  // extern "C"

bool lock_counter::Available() { return realMutexLock && realMutexTryLock; }

#else

bool lock_counter::Available() { return false; }

#endif

void lock_counter::Start()
{
    taken = 0;
    counting = true;
}

long lock_counter::Stop()
{
    counting = false;
    return taken.load();
}
