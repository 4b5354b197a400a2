// Counts the heap allocations any code of the process makes (the loaded plug-in's included: its
// own C++ runtime allocates through the C library's malloc, which this program replaces) while
// counting is on. Builds without sanitizers only: their runtimes replace the same functions.
#pragma once

namespace allocation_counter {

bool Available();
void Start();
// Stops counting and answers the allocations made since Start.
long Stop();

}  // namespace allocation_counter
