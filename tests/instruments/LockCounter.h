// Counts the locks any code of the process takes (POSIX mutexes, read-write locks and spin
// locks, the loaded plug-in's included) while counting is on. Linux builds without sanitizers
// only: the sanitizer runtimes intercept the same functions.
#pragma once

namespace lock_counter {

// Whether this build can count (false on Windows and under sanitizers).
bool Available();
void Start();
// Stops counting and answers the locks taken since Start.
long Stop();

}  // namespace lock_counter
