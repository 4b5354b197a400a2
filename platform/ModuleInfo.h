// Which loaded library holds a given address, and where that library lives on disk.
#pragma once

#include <string>

// The handle of the library (or program) containing `address`: its base address on Linux, its
// module handle on Windows; null when unknown.
void* ModuleHandleOf(const void* address);
// The folder of the library containing `address`, with a trailing path separator (empty when
// unknown).
std::string ModuleFolderOf(const void* address);
