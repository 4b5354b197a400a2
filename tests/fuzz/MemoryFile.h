// A file in memory holding a copy of some bytes, reachable by a path for readers that open one.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size) : fd(memfd_create("fuzz-input", MFD_CLOEXEC))
    {
        for (std::size_t done = 0; fd >= 0 && done < size;) {
            const ssize_t wrote = write(fd, data + done, size - done);
            if (wrote <= 0) {
                close(fd);
                fd = -1;
            } else {
                done += static_cast<std::size_t>(wrote);
            }
        }
    }
    ~MemoryFile()
    {
        if (fd >= 0)
            close(fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool Ok() const { return fd >= 0; }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd); }

private:
    int fd;
};
