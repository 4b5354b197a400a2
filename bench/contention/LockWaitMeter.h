// Measures the locks the audio thread takes inside process: each POSIX mutex, read-write or spin
// lock taken while the calling thread is marked as inside process is counted and its wait timed.
#pragma once

#include <cstdint>

namespace lock_wait_meter {

// Marks the calling thread as inside (or outside) process.
void SetInsideProcess(bool inside);
// Locks taken inside process so far, and the longest wait for one of them, in nanoseconds.
long LocksTaken();
std::int64_t LongestWaitNs();

}  // namespace lock_wait_meter
