// Streaming reader of RIFF/WAVE files: 16/24/32-bit PCM and 32-bit float, mono or stereo, from a
// file, a pipe or standard input.
#pragma once

#include "SignalSource.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
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

// Opening validates the chunk layout; a chunk that claims more bytes than the file holds is cut
// to what is there, so truncated files play up to their last whole frame. A regular file is
// walked chunk by chunk wherever its chunks lie; a stream (a pipe, "-" for standard input) is
// read once from its start, so its fmt chunk must come before its data. A data chunk whose sizes
// are those a writer that cannot seek leaves (sox's 0x7FFFF000, or 0xFFFFFFFF or 0 in a RIFF
// header of the same) holds the audio up to the end of the input.
// Throws HostError with a one-line reason for anything it cannot read.
class WavReader final : public SignalSource {
public:
    explicit WavReader(const std::filesystem::path& path);

    const WavFormat& Format() const { return format; }
    // Samples that were NaN or infinite in a float file and were replaced by silence.
    std::uint64_t NonFiniteSamples() const { return nonFinite; }
    // True when the data chunk claims more bytes than the file holds, or a read came up short.
    bool Truncated() const { return truncated; }
    // False while reading a stream whose length its header leaves open (TotalFrames then counts
    // the frames read so far).
    bool LengthKnown() const { return !openEnded; }

    int ChannelCount() const override { return format.channels; }
    double SampleRate() const override { return format.sampleRate; }
    std::uint64_t TotalFrames() const override { return frames; }
    std::size_t Read(std::span<double* const> channels, std::size_t frames) override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void ParseFile(std::uint64_t fileSize, std::uint32_t riffSize);
    void ParseStream(std::uint32_t riffSize);
    void ReadFormatChunk(std::uint64_t available);
    bool OpenEnded(std::uint32_t dataSize, std::uint32_t riffSize) const;
    bool ReadBytes(unsigned char* into, std::size_t count);
    bool SkipBytes(std::uint64_t count);
    std::uint64_t FrameBytes() const;

    std::string name;
    std::unique_ptr<std::FILE, FileCloser> owned;
    std::FILE* file = nullptr;
    WavFormat format;
    std::uint64_t frames = 0;
    std::uint64_t framesRead = 0;
    std::uint64_t nonFinite = 0;
    bool truncated = false;
    bool openEnded = false;
    std::vector<unsigned char> bytes;
};

}  // namespace vibrascend::host
