#include "WavWriter.h"

#include "ByteOrder.h"
#include "HostError.h"

#include "platform/Files.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace vibrascend::host {

namespace {

constexpr std::uint16_t kFormatFloat = 3;
constexpr std::size_t kHeaderBytes = 58;  // RIFF 12 + fmt 26 + fact 12 + data header 8
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - kHeaderBytes;
constexpr int kSampleBytes = 4;

}  // namespace

WavWriter::WavWriter(std::filesystem::path path, std::uint32_t rate, int channelCount)
    : destination(std::move(path)), sampleRate(rate), channels(channelCount)
{
    if (channelCount < 1 || channelCount > 2 || rate == 0) {
        throw std::invalid_argument("WavWriter needs 1 or 2 channels and a sample rate");
    }
    if (static_cast<std::uint64_t>(rate) * static_cast<std::uint64_t>(channelCount * kSampleBytes) > 0xFFFFFFFFull) {
        throw HostError("cannot write " + destination.string() + ": a rate of " + std::to_string(rate) +
                        " Hz does not fit a WAV header");
    }
    file.reset(platform::CreatePartialFile(destination, temporary));
    if (!file) {
        throw HostError("cannot write " + destination.string() + ": " + std::strerror(errno));
    }
    WriteHeader();
}

WavWriter::~WavWriter()
{
    if (!committed) {
        file.reset();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
}

void WavWriter::Fail(const std::string& what) const
{
    throw HostError("cannot write " + destination.string() + ": " + what);
}

void WavWriter::WriteHeader()
{
    const std::uint64_t dataBytes = frames * static_cast<std::uint64_t>(channels) * kSampleBytes;
    const auto blockAlign = static_cast<std::uint16_t>(channels * kSampleBytes);
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
    WriteLe32(header + 46, static_cast<std::uint32_t>(frames));
    std::memcpy(header + 50, "data", 4);
    WriteLe32(header + 54, static_cast<std::uint32_t>(dataBytes));
    if (std::fseek(file.get(), 0, SEEK_SET) != 0 ||
        std::fwrite(header, 1, sizeof header, file.get()) != sizeof header) {
        Fail(std::strerror(errno));
    }
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
    if ((frames + frameCount) * frameBytes > kMaxDataBytes) {
        Fail("the audio exceeds the 4 GiB limit of a WAV file");
    }
    bytes.resize(frameCount * frameBytes);
    unsigned char* out = bytes.data();
    for (std::size_t frame = 0; frame < frameCount; ++frame) {
        for (int c = 0; c < channels; ++c) {
            WriteLe32(out, std::bit_cast<std::uint32_t>(audio[static_cast<std::size_t>(c)][frame]));
            out += kSampleBytes;
        }
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        Fail(std::strerror(errno));
    }
    frames += frameCount;
}

void WavWriter::Commit()
{
    if (committed)
        return;
    WriteHeader();
    if (!platform::SyncFile(file.get())) {
        Fail(std::strerror(errno));
    }
    if (std::fclose(file.release()) != 0) {
        Fail(std::strerror(errno));
    }
    std::error_code error;
    std::filesystem::rename(temporary, destination, error);
    if (error) {
        Fail(error.message());
    }
    committed = true;
}

}  // namespace vibrascend::host
