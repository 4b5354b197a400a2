// A producer of planar audio frames that the renderer pulls block by block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vibrascend::host {

class SignalSource {
public:
    virtual ~SignalSource() = default;

    virtual int ChannelCount() const = 0;
    virtual double SampleRate() const = 0;
    // Frames this source will deliver in total (the last read may come up short on a damaged file).
    virtual std::uint64_t TotalFrames() const = 0;
    // Fills channels[c][0..frames) for every channel; answers the frames written, 0 at the end.
    virtual std::size_t Read(std::span<double* const> channels, std::size_t frames) = 0;
};

}  // namespace vibrascend::host
