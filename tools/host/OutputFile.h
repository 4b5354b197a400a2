// A file the command-line host writes, where its user named it. A regular file, or a name that
// does not exist yet, is written under a partial name beside it and replaced only when complete,
// keeping the permissions it had; a symbolic link leads to its target, written the same way.
// Anything else (a FIFO, a device, "-" for standard output) is written through as a stream.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace vibrascend::host {

class OutputFile {
public:
    // Decides how `destination` is written and opens it; `what` names the kind of file in
    // messages ("state file "). Throws HostError with one line: "cannot write NAME: reason".
    OutputFile(const std::filesystem::path& destination, std::string what = {});
    // Without Commit, a partial file is removed; a stream keeps what it was sent.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The checks of the constructor, with nothing opened or created: for outputs that are only
    // written at the end of a long job.
    static void Check(const std::filesystem::path& destination, const std::string& what = {});

    // Whether the output is a stream (so what is written reaches its reader at once).
    bool Streams() const { return !replacing; }
    // Whether the bytes written so far can be written again (see Rewrite).
    bool CanRewrite() const { return rewritable; }
    // How messages name it: as the user gave it, or "standard output".
    const std::string& Name() const { return name; }

    void Write(const void* data, std::size_t size);
    // Writes `size` bytes again at `offset` from the output's start, then goes on at its end.
    void Rewrite(std::uint64_t offset, const void* data, std::size_t size);
    // Completes the output: a partial file is flushed to the disk and renamed over the target.
    void Commit();
    [[noreturn]] void Fail(const std::string& reason) const;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::string name;
    std::string what;
    std::filesystem::path target;
    std::filesystem::path partial;
    std::unique_ptr<std::FILE, FileCloser> owned;
    std::FILE* file = nullptr;
    bool replacing = false;
    bool rewritable = false;
    bool committed = false;
    std::int64_t start = 0;
};

}  // namespace vibrascend::host
