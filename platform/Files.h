// Files as programs of this project write them: opened by path name on either system, written
// under a partial name beside their destination and flushed to the disk before they replace it,
// or, where the destination is no regular file, written through it as a stream.
#pragma once

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace platform {

// fopen for a path (wide names on Windows); null with errno set.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Opens an existing file that is no regular file (a FIFO, a device) for writing as it is: not
// created, not truncated, never a controlling terminal. Null with errno set.
std::FILE* OpenForStreaming(const std::filesystem::path& path);

// The standard streams, switched to binary on Windows so that no byte is translated.
std::FILE* StandardInput();
std::FILE* StandardOutput();

// Whether this user may change the regular file's contents, judged as the user expects: by what
// the file's permission bits grant (and the file system allows), so that a read-only file is
// refused even to an administrator who could override it. False with errno set.
bool MayWrite(const std::filesystem::path& path);

// A new file "<destination>.partial-<random>" opened for binary writing, created exclusively, with
// the permissions a new file gets or, with keepPermissions, those of the existing destination (and
// its owner where the user may give it). Its name in `created`. Until CommitPartialFile or
// DiscardPartialFile, a stop of the program (see StopSignals.h) removes it. Null with errno set.
std::FILE* CreatePartialFile(const std::filesystem::path& destination, std::filesystem::path& created,
                             bool keepPermissions = false);

// Renames a closed partial file over its destination, as one step that a stop cannot split.
void CommitPartialFile(const std::filesystem::path& partial, const std::filesystem::path& destination,
                       std::error_code& error);

// Removes a closed (or abandoned) partial file.
void DiscardPartialFile(const std::filesystem::path& partial);

// Writes the stream's buffers and then the file's data to the disk; false with errno set.
bool SyncFile(std::FILE* file);

// Whether the stream reads or writes a regular file (where it can seek).
bool IsRegularFile(std::FILE* file);

// Whether what was written to the stream can be written again in place: a regular file not
// opened for appending.
bool CanRewrite(std::FILE* file);

// Whether the stream writes to a terminal (a console on Windows).
bool IsTerminal(std::FILE* file);

}  // namespace platform
