// Writer of 32-bit float WAV files that only appear under their final name once complete, or that
// stream to a pipe or device.
#pragma once

#include "OutputFile.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace vibrascend::host {

// The destination is written as OutputFile writes it ("-" is standard output). A file goes under a
// temporary name beside it; Commit() completes the header and renames it into place, and a writer
// destroyed without Commit() removes the temporary file, so a failed run leaves no output that
// looks complete. Where the header cannot be completed afterwards (a pipe, a device) it is written
// at once with the sizes of a stream of open length, as sox streams a WAV file.
// Throws HostError on any I/O failure.
class WavWriter {
public:
    WavWriter(const std::filesystem::path& destination, std::uint32_t sampleRate, int channels);
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Appends frames from one buffer per channel.
    void Write(std::span<const float* const> channels, std::size_t frames);
    void Commit();

    std::uint64_t FramesWritten() const { return frames; }
    // Whether the audio goes straight to a stream rather than into a file replaced at the end.
    bool Streams() const { return output.Streams(); }

private:
    void WriteHeader(bool final);

    std::uint32_t sampleRate;
    int channels;
    OutputFile output;
    std::uint64_t frames = 0;
    bool committed = false;
    std::vector<unsigned char> bytes;
};

}  // namespace vibrascend::host
