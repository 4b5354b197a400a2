// The built-in demo input: a soft chord of sines over quiet pink noise, identical on every run.
#pragma once

#include "SignalSource.h"

#include <array>
#include <cstdint>

namespace vibrascend::host {

class DemoSignal final : public SignalSource {
public:
    DemoSignal(double sampleRate, double seconds);

    int ChannelCount() const override { return 2; }
    double SampleRate() const override { return sampleRate; }
    std::uint64_t TotalFrames() const override { return frames; }
    std::size_t Read(std::span<double* const> channels, std::size_t frames) override;

private:
    // Pink noise from a fixed-seed generator, filtered to fall at 3 dB per octave.
    struct PinkNoise {
        explicit PinkNoise(std::uint64_t seed) : state(seed) {}
        double Next();
        std::uint64_t state;
        std::array<double, 7> poles{};
    };

    double sampleRate;
    std::uint64_t frames;
    std::uint64_t position = 0;
    std::array<PinkNoise, 2> noise;
};

}  // namespace vibrascend::host
