#include "WavReader.h"

#include "ByteOrder.h"
#include "HostError.h"

#include "platform/Files.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace vibrascend::host {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kExtensibleSize = 40;
constexpr std::size_t kMaxFormatBytes = 64;

bool HasId(const unsigned char* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

double DecodeSample(const unsigned char* p, const WavFormat& format)
{
    if (format.encoding == SampleEncoding::Float) {
        return std::bit_cast<float>(ReadLe32(p));
    }
    switch (format.bitsPerSample) {
    case 16: return static_cast<std::int16_t>(ReadLe16(p)) / 32768.0;
    case 24: {
        const std::uint32_t raw = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                  (static_cast<std::uint32_t>(p[2]) << 16);
        return (static_cast<std::int32_t>(raw << 8) >> 8) / 8388608.0;
    }
    default: return static_cast<std::int32_t>(ReadLe32(p)) / 2147483648.0;
    }
}

}  // namespace

WavReader::WavReader(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw HostError("cannot read " + path.string() + ": " +
                        (std::filesystem::exists(path, error) ? "not a regular file" : "no such file"));
    }
    file.reset(platform::OpenFile(path, "rb"));
    if (!file) {
        throw HostError("cannot read " + path.string() + ": " + std::strerror(errno));
    }
    if (fseeko(file.get(), 0, SEEK_END) != 0) {
        throw HostError("cannot read " + path.string() + ": " + std::strerror(errno));
    }
    const off_t size = ftello(file.get());
    if (size < 0) {
        throw HostError("cannot read " + path.string() + ": " + std::strerror(errno));
    }
    Parse(path, static_cast<std::uint64_t>(size));
}

void WavReader::Parse(const std::filesystem::path& path, std::uint64_t fileSize)
{
    const std::string name = path.string();
    unsigned char header[12];
    std::rewind(file.get());
    if (fileSize < sizeof header || std::fread(header, 1, sizeof header, file.get()) != sizeof header ||
        !HasId(header, "RIFF") || !HasId(header + 8, "WAVE")) {
        throw HostError(name + " is not a WAV file (no RIFF/WAVE header)");
    }

    bool haveFormat = false;
    bool haveData = false;
    std::uint64_t dataOffset = 0;
    std::uint64_t dataBytes = 0;
    std::uint64_t position = sizeof header;
    while (position + 8 <= fileSize) {
        unsigned char chunk[8];
        if (fseeko(file.get(), static_cast<off_t>(position), SEEK_SET) != 0 ||
            std::fread(chunk, 1, sizeof chunk, file.get()) != sizeof chunk) {
            break;
        }
        const std::uint64_t declared = ReadLe32(chunk + 4);
        const std::uint64_t body = position + 8;
        const std::uint64_t available = std::min(declared, fileSize - body);
        if (HasId(chunk, "fmt ") && !haveFormat) {
            if (available < 16) {
                throw HostError(name + ": the fmt chunk is too short");
            }
            std::vector<unsigned char> chunkBytes(
                static_cast<std::size_t>(std::min<std::uint64_t>(available, kMaxFormatBytes)));
            if (std::fread(chunkBytes.data(), 1, chunkBytes.size(), file.get()) != chunkBytes.size()) {
                throw HostError(name + ": the fmt chunk cannot be read");
            }
            try {
                ParseFormatChunk(chunkBytes);
            } catch (const HostError& error) {
                throw HostError(name + ": " + error.what());
            }
            haveFormat = true;
        } else if (HasId(chunk, "data") && !haveData) {
            dataOffset = body;
            dataBytes = available;
            truncated = available < declared;
            haveData = true;
        }
        position = body + declared + (declared & 1);
    }
    if (!haveFormat) {
        throw HostError(name + " has no fmt chunk");
    }
    if (!haveData) {
        throw HostError(name + " has no data chunk");
    }
    const std::uint64_t frameBytes = static_cast<std::uint64_t>(format.channels) * (format.bitsPerSample / 8);
    frames = dataBytes / frameBytes;
    if (fseeko(file.get(), static_cast<off_t>(dataOffset), SEEK_SET) != 0) {
        throw HostError(name + ": cannot seek to the audio data");
    }
}

void WavReader::ParseFormatChunk(const std::vector<unsigned char>& body)
{
    std::uint16_t tag = ReadLe16(body.data());
    const std::uint16_t channels = ReadLe16(body.data() + 2);
    const std::uint32_t rate = ReadLe32(body.data() + 4);
    const std::uint16_t blockAlign = ReadLe16(body.data() + 12);
    const std::uint16_t bits = ReadLe16(body.data() + 14);
    if (tag == kFormatExtensible) {
        if (body.size() < kExtensibleSize) {
            throw HostError("the extensible fmt chunk is too short");
        }
        tag = ReadLe16(body.data() + 24);
    }
    if (tag == kFormatPcm) {
        if (bits != 16 && bits != 24 && bits != 32) {
            throw HostError("unsupported PCM sample size of " + std::to_string(bits) + " bits (16, 24 or 32 are read)");
        }
        format.encoding = SampleEncoding::Pcm;
    } else if (tag == kFormatFloat) {
        if (bits != 32) {
            throw HostError("unsupported float sample size of " + std::to_string(bits) + " bits (32 is read)");
        }
        format.encoding = SampleEncoding::Float;
    } else {
        throw HostError("unsupported sample format " + std::to_string(tag) + " (PCM or 32-bit float are read)");
    }
    if (channels != 1 && channels != 2) {
        throw HostError(std::to_string(channels) + " channels: only mono or stereo files are read");
    }
    if (rate == 0) {
        throw HostError("the file declares a sample rate of 0 Hz");
    }
    if (blockAlign != channels * (bits / 8)) {
        throw HostError("the fmt chunk's block alignment does not match its channels and sample size");
    }
    format.channels = channels;
    format.sampleRate = rate;
    format.bitsPerSample = bits;
}

std::size_t WavReader::Read(std::span<double* const> channels, std::size_t requested)
{
    if (channels.size() < static_cast<std::size_t>(format.channels)) {
        throw std::invalid_argument("WavReader::read needs one buffer per channel");
    }
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(requested, frames - framesRead));
    if (wanted == 0)
        return 0;
    const std::size_t sampleBytes = static_cast<std::size_t>(format.bitsPerSample / 8);
    const std::size_t frameBytes = sampleBytes * static_cast<std::size_t>(format.channels);
    bytes.resize(wanted * frameBytes);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get()) / frameBytes;
    for (std::size_t frame = 0; frame < got; ++frame) {
        for (int c = 0; c < format.channels; ++c) {
            double sample =
                DecodeSample(&bytes[frame * frameBytes + static_cast<std::size_t>(c) * sampleBytes], format);
            if (!std::isfinite(sample)) {
                sample = 0.0;
                ++nonFinite;
            }
            channels[static_cast<std::size_t>(c)][frame] = sample;
        }
    }
    framesRead += got;
    if (got < wanted) {
        frames = framesRead;
        truncated = true;
    }
    return got;
}

}  // namespace vibrascend::host
