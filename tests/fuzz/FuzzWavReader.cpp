// Feeds arbitrary bytes to the command-line tool's WAV reader as a file. Opening either refuses
// with the reader's error or gives a format it can decode; reading then delivers no more frames
// than the file holds, exactly the announced count unless the file is cut short, and only
// finite samples, PCM ones within -1..1.
#include "FuzzRequire.h"
#include "MemoryFile.h"

#include "HostError.h"
#include "WavReader.h"

#include <array>
#include <cmath>
#include <vector>

using vibrascend::host::HostError;
using vibrascend::host::SampleEncoding;
using vibrascend::host::WavReader;

namespace {

constexpr std::size_t kBlockFrames = 7;  // several reads even of the small seeds

void ReadAll(WavReader& reader, std::size_t fileSize)
{
    const auto& format = reader.Format();
    Require(format.sampleRate > 0, "a sample rate");
    const bool pcm = format.encoding == SampleEncoding::Pcm;
    Require(pcm ? (format.bitsPerSample == 16 || format.bitsPerSample == 24 || format.bitsPerSample == 32)
                : format.bitsPerSample == 32,
            "a sample size the reader decodes");
    const std::uint64_t frameBytes = static_cast<std::uint64_t>(format.channels) * (format.bitsPerSample / 8);
    const std::uint64_t announced = reader.TotalFrames();
    Require(announced * frameBytes <= fileSize, "no more frames than the file holds");

    std::array<std::vector<double>, 2> buffers{std::vector<double>(kBlockFrames), std::vector<double>(kBlockFrames)};
    double* channels[2] = {buffers[0].data(), buffers[1].data()};
    std::uint64_t total = 0;
    for (;;) {
        const std::size_t got = reader.Read(channels, kBlockFrames);
        Require(got <= kBlockFrames, "a read delivers at most what was asked");
        if (got == 0)
            break;
        for (int c = 0; c < format.channels; ++c)
            for (std::size_t i = 0; i < got; ++i) {
                const double sample = buffers[static_cast<size_t>(c)][i];
                Require(std::isfinite(sample), "finite samples");
                Require(!pcm || (sample >= -1.0 && sample < 1.0), "PCM samples within -1..1");
            }
        total += got;
    }
    Require(total <= announced, "no more frames than announced");
    Require(total == announced || reader.Truncated(), "the announced frames unless cut short");
    Require(reader.TotalFrames() == total, "the count ends at the frames delivered");
    Require(pcm ? reader.NonFiniteSamples() == 0 : reader.NonFiniteSamples() <= total * format.channels,
            "non-finite samples counted only in float files");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MemoryFile file(data, size);
    Require(file.Ok(), "the input is in a file");
    try {
        WavReader reader(file.Path());
        ReadAll(reader, size);
    } catch (const HostError&) {
        // A file the reader refuses with its one-line reason.
    }
    return 0;
}
