// The partial files a stop of the program removes: kept by the stop handling of each system and
// fed by the partial-file functions of Files.h. Not for use outside this library.
#pragma once

#include <filesystem>

namespace platform::partial {

// Adds a partial file to those removed on a stop (silently not, once too many are open).
void Remember(const std::filesystem::path& partial);
// Takes it out again.
void Forget(const std::filesystem::path& partial);

}  // namespace platform::partial
