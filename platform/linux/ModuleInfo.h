// Which loaded library holds a given address, and where that library lives on disk.
#pragma once

#include <string>

// The base address of the shared object containing `address` (null when unknown).
void* ModuleHandleOf(const void* address);
// The folder of the shared object containing `address`, with a trailing '/' (empty when unknown).
std::string ModuleFolderOf(const void* address);
