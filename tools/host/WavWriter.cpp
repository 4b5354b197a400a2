#include "WavWriter.h"

#include "ByteOrder.h"
#include "HostError.h"
#include "StandardStreams.h"

#include <bit>
#include <cstring>
#include <stdexcept>
#include <string>

namespace vibrascend::host {

namespace {

constexpr std::uint16_t kFormatFloat = 3;
constexpr std::size_t kHeaderBytes = 58;  // RIFF 12 + fmt 26 + fact 12 + data header 8
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - kHeaderBytes;
constexpr int kSampleBytes = 4;
// The data size of a WAV file whose length is open, cut to whole frames: what sox writes to a
// pipe, and what readers take for "up to the end".
constexpr std::uint32_t kOpenDataBytes = 0x7FFFF000;

// Refuses what no header can describe, before anything is created.
const std::filesystem::path& Checked(const std::filesystem::path& destination, std::uint32_t rate, int channels)
{
    if (channels < 1 || channels > 2 || rate == 0) {
        throw std::invalid_argument("WavWriter needs 1 or 2 channels and a sample rate");
    }
    if (static_cast<std::uint64_t>(rate) * static_cast<std::uint64_t>(channels * kSampleBytes) > 0xFFFFFFFFull) {
        throw HostError("cannot write " + OutputName(destination) + ": a rate of " + std::to_string(rate) +
                        " Hz does not fit a WAV header");
    }
    return destination;
}

}  // namespace

WavWriter::WavWriter(const std::filesystem::path& destination, std::uint32_t rate, int channelCount)
    : sampleRate(rate), channels(channelCount), output(Checked(destination, rate, channelCount))
{
    WriteHeader(false);
}

void WavWriter::WriteHeader(bool final)
{
    const auto blockAlign = static_cast<std::uint16_t>(channels * kSampleBytes);
    const std::uint64_t dataBytes = output.CanRewrite()
                                        ? frames * static_cast<std::uint64_t>(channels) * kSampleBytes
                                        : kOpenDataBytes / blockAlign * blockAlign;
    unsigned char header[kHeaderBytes];
    std::memcpy(header, "RIFF", 4);
    WriteLe32(header + 4, static_cast<std::uint32_t>(kHeaderBytes - 8 + dataBytes));
    std::memcpy(header + 8, "WAVEfmt ", 8);
    WriteLe32(header + 16, 18);
    WriteLe16(header + 20, kFormatFloat);
    WriteLe16(header + 22, static_cast<std::uint16_t>(channels));
    WriteLe32(header + 24, sampleRate);
    WriteLe32(header + 28, sampleRate * blockAlign);
    WriteLe16(header + 32, blockAlign);
    WriteLe16(header + 34, 8 * kSampleBytes);
    WriteLe16(header + 36, 0);
    std::memcpy(header + 38, "fact", 4);
    WriteLe32(header + 42, 4);
    WriteLe32(header + 46, static_cast<std::uint32_t>(dataBytes / blockAlign));
    std::memcpy(header + 50, "data", 4);
    WriteLe32(header + 54, static_cast<std::uint32_t>(dataBytes));
    if (final)
        output.Rewrite(0, header, sizeof header);
    else
        output.Write(header, sizeof header);
}

void WavWriter::Write(std::span<const float* const> audio, std::size_t frameCount)
{
    if (committed) {
        throw std::logic_error("WavWriter::write after commit");
    }
    if (audio.size() < static_cast<std::size_t>(channels)) {
        throw std::invalid_argument("WavWriter::write needs one buffer per channel");
    }
    const std::uint64_t frameBytes = static_cast<std::uint64_t>(channels) * kSampleBytes;
    if (output.CanRewrite() && (frames + frameCount) * frameBytes > kMaxDataBytes) {
        output.Fail("the audio exceeds the 4 GiB limit of a WAV file");
    }
    bytes.resize(frameCount * frameBytes);
    unsigned char* out = bytes.data();
    for (std::size_t frame = 0; frame < frameCount; ++frame) {
        for (int c = 0; c < channels; ++c) {
            WriteLe32(out, std::bit_cast<std::uint32_t>(audio[static_cast<std::size_t>(c)][frame]));
            out += kSampleBytes;
        }
    }
    output.Write(bytes.data(), bytes.size());
    frames += frameCount;
}

void WavWriter::Commit()
{
    if (committed)
        return;
    if (output.CanRewrite())
        WriteHeader(true);
    output.Commit();
    committed = true;
}

}  // namespace vibrascend::host
