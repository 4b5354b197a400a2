// Streaming reader of RIFF/WAVE files: 16/24/32-bit PCM and 32-bit float, mono or stereo.
#pragma once

#include "SignalSource.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace vibrascend::host {

enum class SampleEncoding {
    Pcm,
    Float
};

struct WavFormat {
    SampleEncoding encoding = SampleEncoding::Pcm;
    int channels = 0;
    std::uint32_t sampleRate = 0;
    int bitsPerSample = 0;
};

// Opening validates the whole chunk layout; a chunk that claims more bytes than the file holds
// is cut to what is there, so truncated files play up to their last whole frame.
// Throws HostError with a one-line reason for anything it cannot read.
class WavReader final : public SignalSource {
public:
    explicit WavReader(const std::filesystem::path& path);

    const WavFormat& Format() const { return format; }
    // Samples that were NaN or infinite in a float file and were replaced by silence.
    std::uint64_t NonFiniteSamples() const { return nonFinite; }
    // True when the data chunk claims more bytes than the file holds, or a read came up short.
    bool Truncated() const { return truncated; }

    int ChannelCount() const override { return format.channels; }
    double SampleRate() const override { return format.sampleRate; }
    std::uint64_t TotalFrames() const override { return frames; }
    std::size_t Read(std::span<double* const> channels, std::size_t frames) override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void Parse(const std::filesystem::path& path, std::uint64_t fileSize);
    void ParseFormatChunk(const std::vector<unsigned char>& body);

    std::unique_ptr<std::FILE, FileCloser> file;
    WavFormat format;
    std::uint64_t frames = 0;
    std::uint64_t framesRead = 0;
    std::uint64_t nonFinite = 0;
    bool truncated = false;
    std::vector<unsigned char> bytes;
};

}  // namespace vibrascend::host
