// A lock the holding thread may take again (each lock() matched by one unlock()): a critical
// section on Windows, a recursive mutex elsewhere. lock/unlock/try_lock keep the standard
// library's names, so std::lock_guard and std::unique_lock hold it.
#pragma once

#if !defined(_WIN32)
#include <mutex>
#endif

namespace platform {

class RecursiveLock {
public:
    RecursiveLock();
    ~RecursiveLock();
    RecursiveLock(const RecursiveLock&) = delete;
    RecursiveLock& operator=(const RecursiveLock&) = delete;

    void lock();
    void unlock();
    bool try_lock();

private:
#if defined(_WIN32)
    // Room for the system's CRITICAL_SECTION, which only the Windows source names.
    alignas(8) unsigned char section[40];
#else
    std::recursive_mutex mutex;
#endif
};

#if !defined(_WIN32)
inline RecursiveLock::RecursiveLock() = default;
inline RecursiveLock::~RecursiveLock() = default;
inline void RecursiveLock::lock() { mutex.lock(); }
inline void RecursiveLock::unlock() { mutex.unlock(); }
inline bool RecursiveLock::try_lock() { return mutex.try_lock(); }
#endif

}  // namespace platform
