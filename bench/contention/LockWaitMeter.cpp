#include "LockWaitMeter.h"

#include <atomic>
#include <chrono>
#include <dlfcn.h>
#include <pthread.h>

namespace {

thread_local bool insideProcess = false;
std::atomic<long> locksTaken{0};
std::atomic<std::int64_t> longestWait{0};

template <class F>
F Next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

const auto realMutexLock = Next<int (*)(pthread_mutex_t*)>("pthread_mutex_lock");
const auto realMutexTryLock = Next<int (*)(pthread_mutex_t*)>("pthread_mutex_trylock");
const auto realReadLock = Next<int (*)(pthread_rwlock_t*)>("pthread_rwlock_rdlock");
const auto realWriteLock = Next<int (*)(pthread_rwlock_t*)>("pthread_rwlock_wrlock");
const auto realSpinLock = Next<int (*)(pthread_spinlock_t*)>("pthread_spin_lock");

// Takes the lock through `take`, timing it when the thread is inside process.
template <class Lock>
int Measured(int (*take)(Lock*), Lock* lock)
{
    if (!insideProcess)
        return take(lock);
    const auto start = std::chrono::steady_clock::now();
    const int result = take(lock);
    const std::int64_t waited =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
    locksTaken.fetch_add(1, std::memory_order_relaxed);
    std::int64_t longest = longestWait.load(std::memory_order_relaxed);
    while (waited > longest && !longestWait.compare_exchange_weak(longest, waited, std::memory_order_relaxed)) {
    }
    return result;
}

}  // namespace

extern "C" {

int pthread_mutex_lock(pthread_mutex_t* mutex) { return Measured(realMutexLock, mutex); }
int pthread_mutex_trylock(pthread_mutex_t* mutex) { return Measured(realMutexTryLock, mutex); }
int pthread_rwlock_rdlock(pthread_rwlock_t* lock) { return Measured(realReadLock, lock); }
int pthread_rwlock_wrlock(pthread_rwlock_t* lock) { return Measured(realWriteLock, lock); }
int pthread_spin_lock(pthread_spinlock_t* lock) { return Measured(realSpinLock, lock); }

}  // extern "C"

void lock_wait_meter::SetInsideProcess(bool inside) { insideProcess = inside; }

long lock_wait_meter::LocksTaken() { return locksTaken.load(); }

std::int64_t lock_wait_meter::LongestWaitNs() { return longestWait.load(); }
