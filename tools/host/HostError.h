// Errors of the command-line host: each carries the one line shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace vibrascend::host {

// A failure that ends the current command (unreadable file, unknown preset, plug-in refusal...).
class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

// A malformed command line; the caller answers it with the usage hint and exit code 2.
class UsageError : public HostError {
public:
    explicit UsageError(const std::string& message) : HostError(message) {}
};

}  // namespace vibrascend::host
