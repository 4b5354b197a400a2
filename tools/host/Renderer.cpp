#include "Renderer.h"

#include <array>
#include <stdexcept>
#include <vector>

namespace vibrascend::host {

namespace {

template <typename Sample>
std::uint64_t RenderBlocks(PluginInstance& plugin, SignalSource& source, WavWriter& writer,
                           const ProcessingSetup& setup, ParameterChanges& firstChanges, ProgressBar& progress)
{
    const auto channels = static_cast<std::size_t>(setup.channels);
    const auto block = static_cast<std::size_t>(setup.maxBlock);
    std::vector<std::vector<double>> read(channels, std::vector<double>(block));
    std::vector<std::vector<Sample>> in(channels, std::vector<Sample>(block));
    std::vector<std::vector<Sample>> out(channels, std::vector<Sample>(block));
    std::vector<std::vector<float>> written(channels, std::vector<float>(block));
    std::array<double*, 2> readPointers{};
    std::array<Sample*, 2> inPointers{};
    std::array<Sample*, 2> outPointers{};
    std::array<const float*, 2> writtenPointers{};
    for (std::size_t c = 0; c < channels; ++c) {
        readPointers[c] = read[c].data();
        inPointers[c] = in[c].data();
        outPointers[c] = out[c].data();
        writtenPointers[c] = written[c].data();
    }
    ParameterChanges noChanges;
    ParameterChanges* changes = &firstChanges;
    std::uint64_t done = 0;
    for (;;) {
        const std::size_t frames = source.Read(std::span(readPointers.data(), channels), block);
        if (frames == 0)
            break;
        for (std::size_t c = 0; c < channels; ++c) {
            for (std::size_t i = 0; i < frames; ++i)
                in[c][i] = static_cast<Sample>(read[c][i]);
        }
        plugin.Process(std::span<Sample* const>(inPointers.data(), channels),
                       std::span<Sample* const>(outPointers.data(), channels), static_cast<int>(frames), changes);
        changes = &noChanges;
        for (std::size_t c = 0; c < channels; ++c) {
            for (std::size_t i = 0; i < frames; ++i)
                written[c][i] = static_cast<float>(out[c][i]);
        }
        writer.Write(std::span(writtenPointers.data(), channels), frames);
        done += frames;
        progress.Update(done);
    }
    if (changes == &firstChanges && firstChanges.getParameterCount() > 0) {
        // An empty input still gets its preset and settings, so a saved state reflects them.
        plugin.Process(std::span<Sample* const>(inPointers.data(), channels),
                       std::span<Sample* const>(outPointers.data(), channels), 0, changes);
    }
    progress.Finish();
    return done;
}

}  // namespace

std::uint64_t RenderSignal(PluginInstance& plugin, SignalSource& source, WavWriter& writer,
                           const ProcessingSetup& setup, ParameterChanges& firstChanges, ProgressBar& progress)
{
    if (source.ChannelCount() != setup.channels) {
        throw std::invalid_argument("renderSignal: the set-up's channels differ from the source's");
    }
    plugin.StartProcessing(setup);
    const std::uint64_t frames = setup.doublePrecision
                                     ? RenderBlocks<double>(plugin, source, writer, setup, firstChanges, progress)
                                     : RenderBlocks<float>(plugin, source, writer, setup, firstChanges, progress);
    plugin.StopProcessing();
    return frames;
}

}  // namespace vibrascend::host
