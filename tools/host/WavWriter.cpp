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

WavWriter::WavWriter(std::filesystem::path destination, std::uint32_t sampleRate, int channels)
    : destination_(std::move(destination)), sampleRate_(sampleRate), channels_(channels) {
    if (channels < 1 || channels > 2 || sampleRate == 0) {
        throw std::invalid_argument("WavWriter needs 1 or 2 channels and a sample rate");
    }
    if (static_cast<std::uint64_t>(sampleRate) * static_cast<std::uint64_t>(channels * kSampleBytes) > 0xFFFFFFFFull) {
        throw HostError("cannot write " + destination_.string() + ": a rate of " + std::to_string(sampleRate) +
                        " Hz does not fit a WAV header");
    }
    file_.reset(platform::CreatePartialFile(destination_, temporary_));
    if (!file_) {
        throw HostError("cannot write " + destination_.string() + ": " + std::strerror(errno));
    }
    WriteHeader();
}

WavWriter::~WavWriter() {
    if (!committed_) {
        file_.reset();
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void WavWriter::Fail(const std::string& what) const {
    throw HostError("cannot write " + destination_.string() + ": " + what);
}

void WavWriter::WriteHeader() {
    const std::uint64_t dataBytes = frames_ * static_cast<std::uint64_t>(channels_) * kSampleBytes;
    const auto blockAlign = static_cast<std::uint16_t>(channels_ * kSampleBytes);
    unsigned char header[kHeaderBytes];
    std::memcpy(header, "RIFF", 4);
    WriteLe32(header + 4, static_cast<std::uint32_t>(kHeaderBytes - 8 + dataBytes));
    std::memcpy(header + 8, "WAVEfmt ", 8);
    WriteLe32(header + 16, 18);
    WriteLe16(header + 20, kFormatFloat);
    WriteLe16(header + 22, static_cast<std::uint16_t>(channels_));
    WriteLe32(header + 24, sampleRate_);
    WriteLe32(header + 28, sampleRate_ * blockAlign);
    WriteLe16(header + 32, blockAlign);
    WriteLe16(header + 34, 8 * kSampleBytes);
    WriteLe16(header + 36, 0);
    std::memcpy(header + 38, "fact", 4);
    WriteLe32(header + 42, 4);
    WriteLe32(header + 46, static_cast<std::uint32_t>(frames_));
    std::memcpy(header + 50, "data", 4);
    WriteLe32(header + 54, static_cast<std::uint32_t>(dataBytes));
    if (std::fseek(file_.get(), 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, file_.get()) != sizeof header) {
        Fail(std::strerror(errno));
    }
}

void WavWriter::Write(std::span<const float* const> channels, std::size_t frames) {
    if (committed_) {
        throw std::logic_error("WavWriter::write after commit");
    }
    if (channels.size() < static_cast<std::size_t>(channels_)) {
        throw std::invalid_argument("WavWriter::write needs one buffer per channel");
    }
    const std::uint64_t frameBytes = static_cast<std::uint64_t>(channels_) * kSampleBytes;
    if ((frames_ + frames) * frameBytes > kMaxDataBytes) {
        Fail("the audio exceeds the 4 GiB limit of a WAV file");
    }
    bytes_.resize(frames * frameBytes);
    unsigned char* out = bytes_.data();
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (int c = 0; c < channels_; ++c) {
            WriteLe32(out, std::bit_cast<std::uint32_t>(channels[static_cast<std::size_t>(c)][frame]));
            out += kSampleBytes;
        }
    }
    if (std::fwrite(bytes_.data(), 1, bytes_.size(), file_.get()) != bytes_.size()) {
        Fail(std::strerror(errno));
    }
    frames_ += frames;
}

void WavWriter::Commit() {
    if (committed_) return;
    WriteHeader();
    if (!platform::SyncFile(file_.get())) {
        Fail(std::strerror(errno));
    }
    if (std::fclose(file_.release()) != 0) {
        Fail(std::strerror(errno));
    }
    std::error_code error;
    std::filesystem::rename(temporary_, destination_, error);
    if (error) {
        Fail(error.message());
    }
    committed_ = true;
}

}  // namespace vibrascend::host
