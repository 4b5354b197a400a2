// Files as programs of this project write them: opened by path name on either system, written
// under a partial name beside their destination and flushed to the disk before they replace it.
#pragma once

#include <cstdio>
#include <filesystem>

namespace platform {

// fopen for a path (wide names on Windows); null with errno set.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// A new file "<destination>.partial-<random>" opened for binary writing, created exclusively, with
// the permissions a new file gets; its name in `created`. Null with errno set.
std::FILE* CreatePartialFile(const std::filesystem::path& destination, std::filesystem::path& created);

// Writes the stream's buffers and then the file's data to the disk; false with errno set.
bool SyncFile(std::FILE* file);

// Whether the stream writes to a terminal (a console on Windows).
bool IsTerminal(std::FILE* file);

}  // namespace platform
