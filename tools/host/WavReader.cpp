#include "WavReader.h"

#include "ByteOrder.h"
#include "HostError.h"
#include "StandardStreams.h"

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
constexpr std::size_t kRiffHeaderBytes = 12;
// The data size sox writes when it cannot seek back to the header, cut to whole frames.
constexpr std::uint32_t kSoxUnknownSize = 0x7FFFF000;

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

// The fmt chunk's fields; throws HostError (without the file's name) for what is not read.
WavFormat ParseFormatChunk(const std::vector<unsigned char>& body)
{
    std::uint16_t tag = ReadLe16(body.data());
    const std::uint16_t channels = ReadLe16(body.data() + 2);
    const std::uint32_t rate = ReadLe32(body.data() + 4);
    const std::uint16_t blockAlign = ReadLe16(body.data() + 12);
    const std::uint16_t bits = ReadLe16(body.data() + 14);
    WavFormat format;
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
    return format;
}

}  // namespace

WavReader::WavReader(const std::filesystem::path& path) : name(InputName(path))
{
    if (IsStandardStream(path)) {
        file = platform::StandardInput();
        if (platform::IsTerminal(file)) {
            throw HostError("cannot read standard input: it is a terminal (give the WAV file with < or a pipe)");
        }
    } else {
        std::error_code error;
        const auto status = std::filesystem::status(path, error);
        if (status.type() == std::filesystem::file_type::not_found) {
            throw HostError("cannot read " + name + ": no such file");
        }
        if (status.type() == std::filesystem::file_type::directory) {
            throw HostError("cannot read " + name + ": it is a folder");
        }
        owned.reset(platform::OpenFile(path, "rb"));
        if (!owned) {
            throw HostError("cannot read " + name + ": " + std::strerror(errno));
        }
        file = owned.get();
    }
    unsigned char header[kRiffHeaderBytes];
    if (!ReadBytes(header, sizeof header) || !HasId(header, "RIFF") || !HasId(header + 8, "WAVE")) {
        throw HostError(name + " is not a WAV file (no RIFF/WAVE header)");
    }
    const std::uint32_t riffSize = ReadLe32(header + 4);
    if (platform::IsRegularFile(file)) {
        if (fseeko(file, 0, SEEK_END) != 0) {
            throw HostError("cannot read " + name + ": " + std::strerror(errno));
        }
        const off_t size = ftello(file);
        if (size < 0) {
            throw HostError("cannot read " + name + ": " + std::strerror(errno));
        }
        ParseFile(static_cast<std::uint64_t>(size), riffSize);
    } else {
        ParseStream(riffSize);
    }
}

bool WavReader::ReadBytes(unsigned char* into, std::size_t count)
{
    return std::fread(into, 1, count, file) == count;
}

bool WavReader::SkipBytes(std::uint64_t count)
{
    unsigned char discard[4096];
    while (count > 0) {
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof discard));
        if (!ReadBytes(discard, piece))
            return false;
        count -= piece;
    }
    return true;
}

std::uint64_t WavReader::FrameBytes() const
{
    return static_cast<std::uint64_t>(format.channels) * static_cast<std::uint64_t>(format.bitsPerSample / 8);
}

void WavReader::ReadFormatChunk(std::uint64_t available)
{
    if (available < 16) {
        throw HostError(name + ": the fmt chunk is too short");
    }
    std::vector<unsigned char> chunkBytes(static_cast<std::size_t>(std::min<std::uint64_t>(available, kMaxFormatBytes)));
    if (!ReadBytes(chunkBytes.data(), chunkBytes.size())) {
        throw HostError(name + ": the fmt chunk cannot be read");
    }
    try {
        format = ParseFormatChunk(chunkBytes);
    } catch (const HostError& error) {
        throw HostError(name + ": " + error.what());
    }
}

bool WavReader::OpenEnded(std::uint32_t dataSize, std::uint32_t riffSize) const
{
    const auto frameBytes = static_cast<std::uint32_t>(FrameBytes());
    const bool riffOpen = riffSize == 0xFFFFFFFFu || riffSize == 0;
    return dataSize == kSoxUnknownSize / frameBytes * frameBytes ||
           ((dataSize == 0xFFFFFFFFu || dataSize == 0) && riffOpen);
}

void WavReader::ParseFile(std::uint64_t fileSize, std::uint32_t riffSize)
{
    bool haveFormat = false;
    bool haveData = false;
    std::uint64_t dataOffset = 0;
    std::uint64_t dataBytes = 0;
    std::uint64_t position = kRiffHeaderBytes;
    while (position + 8 <= fileSize) {
        unsigned char chunk[8];
        if (fseeko(file, static_cast<off_t>(position), SEEK_SET) != 0 || !ReadBytes(chunk, sizeof chunk)) {
            break;
        }
        const std::uint64_t declared = ReadLe32(chunk + 4);
        const std::uint64_t body = position + 8;
        const std::uint64_t available = std::min(declared, fileSize - body);
        if (HasId(chunk, "fmt ") && !haveFormat) {
            ReadFormatChunk(available);
            haveFormat = true;
        } else if (HasId(chunk, "data") && !haveData) {
            dataOffset = body;
            haveData = true;
            if (haveFormat && OpenEnded(static_cast<std::uint32_t>(declared), riffSize)) {
                // Streamed: the audio runs to the end of the file, with no chunk after it.
                dataBytes = fileSize - body;
                break;
            }
            dataBytes = available;
            truncated = available < declared;
        }
        position = body + declared + (declared & 1);
    }
    if (!haveFormat) {
        throw HostError(name + " has no fmt chunk");
    }
    if (!haveData) {
        throw HostError(name + " has no data chunk");
    }
    frames = dataBytes / FrameBytes();
    if (fseeko(file, static_cast<off_t>(dataOffset), SEEK_SET) != 0) {
        throw HostError(name + ": cannot seek to the audio data");
    }
}

void WavReader::ParseStream(std::uint32_t riffSize)
{
    bool haveFormat = false;
    for (;;) {
        unsigned char chunk[8];
        if (!ReadBytes(chunk, sizeof chunk)) {
            throw HostError(name + (haveFormat ? " has no data chunk" : " has no fmt chunk"));
        }
        const std::uint64_t declared = ReadLe32(chunk + 4);
        const std::uint64_t padded = declared + (declared & 1);
        if (HasId(chunk, "fmt ") && !haveFormat) {
            ReadFormatChunk(declared);
            haveFormat = true;
            SkipBytes(padded - std::min<std::uint64_t>(declared, kMaxFormatBytes));
        } else if (HasId(chunk, "data")) {
            if (!haveFormat) {
                throw HostError(name + ": the fmt chunk comes after the audio data, which a stream cannot go back to");
            }
            openEnded = OpenEnded(static_cast<std::uint32_t>(declared), riffSize);
            frames = openEnded ? 0 : declared / FrameBytes();
            return;
        } else if (!SkipBytes(padded)) {
            throw HostError(name + (haveFormat ? " has no data chunk" : " has no fmt chunk"));
        }
    }
}

std::size_t WavReader::Read(std::span<double* const> channels, std::size_t requested)
{
    if (channels.size() < static_cast<std::size_t>(format.channels)) {
        throw std::invalid_argument("WavReader::read needs one buffer per channel");
    }
    const std::size_t wanted =
        openEnded ? requested : static_cast<std::size_t>(std::min<std::uint64_t>(requested, frames - framesRead));
    if (wanted == 0)
        return 0;
    const std::size_t sampleBytes = static_cast<std::size_t>(format.bitsPerSample / 8);
    const std::size_t frameBytes = sampleBytes * static_cast<std::size_t>(format.channels);
    bytes.resize(wanted * frameBytes);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file) / frameBytes;
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
    if (openEnded) {
        frames = framesRead;
        openEnded = got == wanted;
    } else if (got < wanted) {
        frames = framesRead;
        truncated = true;
    }
    return got;
}

}  // namespace vibrascend::host
