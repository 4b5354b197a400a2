// Writer of 32-bit float WAV files that only appear under their final name once complete.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace vibrascend::host {

// Audio goes to a temporary file beside the destination; Commit() completes the header and
// renames it into place. A writer destroyed without Commit() removes the temporary file, so a
// failed run leaves no output that looks complete. Throws HostError on any I/O failure.
class WavWriter {
public:
    WavWriter(std::filesystem::path destination, std::uint32_t sampleRate, int channels);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Appends frames from one buffer per channel.
    void Write(std::span<const float* const> channels, std::size_t frames);
    void Commit();

    std::uint64_t FramesWritten() const { return frames; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void WriteHeader();
    [[noreturn]] void Fail(const std::string& what) const;

    std::filesystem::path destination;
    std::filesystem::path temporary;
    std::unique_ptr<std::FILE, FileCloser> file;
    std::uint32_t sampleRate;
    int channels;
    std::uint64_t frames = 0;
    bool committed = false;
    std::vector<unsigned char> bytes;
};

}  // namespace vibrascend::host
