#include "DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vibrascend::host {

namespace {

// A major chord spread over three octaves, each note slightly apart between the channels.
constexpr std::array<double, 5> kChordHz{110.0, 164.81, 220.0, 277.18, 329.63};
constexpr double kNoteLevel = 0.07;
constexpr double kNoiseLevel = 0.02;
constexpr double kFadeSeconds = 0.25;
constexpr double kStereoDetuneHz = 0.3;

}  // namespace

double DemoSignal::PinkNoise::Next()
{
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    const double white = static_cast<double>(state >> 11) / 9007199254740992.0 * 2.0 - 1.0;
    poles[0] = 0.99886 * poles[0] + white * 0.0555179;
    poles[1] = 0.99332 * poles[1] + white * 0.0750759;
    poles[2] = 0.96900 * poles[2] + white * 0.1538520;
    poles[3] = 0.86650 * poles[3] + white * 0.3104856;
    poles[4] = 0.55000 * poles[4] + white * 0.5329522;
    poles[5] = -0.7616 * poles[5] - white * 0.0168980;
    const double pink = poles[0] + poles[1] + poles[2] + poles[3] + poles[4] + poles[5] + poles[6] + white * 0.5362;
    poles[6] = white * 0.115926;
    return pink * 0.11;
}

DemoSignal::DemoSignal(double rate, double seconds)
    : sampleRate(rate),
      frames(static_cast<std::uint64_t>(std::llround(rate * seconds))), noise{PinkNoise(0x9E3779B97F4A7C15ull),
                                                                              PinkNoise(0xD1B54A32D192ED03ull)}
{
}

std::size_t DemoSignal::Read(std::span<double* const> channels, std::size_t requested)
{
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(requested, frames - position));
    const double fadeFrames = kFadeSeconds * sampleRate;
    for (std::size_t i = 0; i < count; ++i) {
        const double n = static_cast<double>(position + i);
        const double t = n / sampleRate;
        const double fromEnd = static_cast<double>(frames) - 1.0 - n;
        const double fade = std::clamp(std::min(n, fromEnd) / fadeFrames, 0.0, 1.0);
        for (std::size_t c = 0; c < 2; ++c) {
            double sum = 0.0;
            for (std::size_t k = 0; k < kChordHz.size(); ++k) {
                const double hz = kChordHz[k] + (c == 0 ? 0.0 : kStereoDetuneHz * static_cast<double>(k + 1));
                sum += std::sin(2.0 * std::numbers::pi * hz * t);
            }
            channels[c][i] = fade * (kNoteLevel * sum + kNoiseLevel * noise[c].Next());
        }
    }
    position += count;
    return count;
}

}  // namespace vibrascend::host
