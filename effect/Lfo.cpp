#include "effect/Lfo.h"

#include "effect/PortableMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;
}

int16_t Lfo::DrivenParamOf(int target)
{
    switch (target) {
    case 1:
        return 4;
    case 2:
        return 2;
    case 3:
        return 3;
    default:
        return -1;
    }
}

GainTarget Lfo::TargetGain() const
{
    return lfoTarget >= 1 && lfoTarget <= 3 ? static_cast<GainTarget>(lfoTarget) : GainTarget::None;
}

void Lfo::SetWave(int16_t wave)
{
    lfoWave = wave;
    const float g = kGolden;
    const float oneMinusG = 1.0f - g;
    switch (wave) {
    case 1:  // "Golden Sine": falls over 1 - g of the period, rises over g, as half cosines
        shapeA = static_cast<double>(oneMinusG) * kTwoPi;
        shapeB = kPi / shapeA;
        shapeC = kPi / (kTwoPi - shapeA);
        shapeD = kPi - shapeA * shapeC;
        break;
    case 2:  // "Triangle"
        shapeA = kPi;
        shapeB = 2.0 / kPi;
        shapeC = 3.0;
        shapeD = 2.0 / kPi;
        break;
    case 3:  // "Golden Tri": rises over g of the period, falls over 1 - g
        shapeA = static_cast<double>(g) * kTwoPi;
        shapeB = 2.0 / shapeA;
        shapeC = static_cast<double>((g + 1.0f) / oneMinusG);
        shapeD = 0.3183098861837907 / static_cast<double>(oneMinusG);
        break;
    case 4:  // "Saw": rises over a quarter, falls over three quarters
        shapeA = kPi / 2.0;
        shapeB = 4.0 / kPi;
        shapeC = 5.0 / 3.0;
        shapeD = 4.0 / (3.0 * kPi);
        break;
    case 5:  // "Saw Flip": rises over three quarters, falls over a quarter
        shapeA = 3.0 * kPi / 2.0;
        shapeB = 4.0 / (3.0 * kPi);
        shapeC = 7.0;
        shapeD = 4.0 / kPi;
        break;
    case 8:  // "Golden Half": quarter sines rising over g, falling over 1 - g
        shapeA = static_cast<double>(g) * kTwoPi;
        shapeB = 0.25 / static_cast<double>(g);
        shapeC = 0.25 / static_cast<double>(oneMinusG);
        shapeD = static_cast<double>(1.0f - 2.0f * g) * kPi / static_cast<double>(oneMinusG) * 0.5;
        break;
    default:
        break;
    }
}

void Lfo::SetFrequency(float hz, double sampleRate)
{
    if (sampleRate > 0.0 && std::isfinite(sampleRate))
        lfoInc = static_cast<double>(hz) * kTwoPi / sampleRate;
}

void Lfo::UpdateRange(float base)
{
    lfoAmp = lfoDepth * kGainSpan * 0.5f;
    const float upper = kMaxGain - lfoAmp;
    const float m = base < upper ? base : upper;
    const float lowest = lfoAmp + kMinGain;
    lfoCentre = lowest > m ? lowest : m;
}

namespace {

struct Shape {
    double a, b, c, d;
};

// Wave `kWave` at one phase or at a pair of phases: lane by lane the same operations.
template <int kWave, class V>
V WaveOf(const Shape& s, V p)
{
    if constexpr (kWave == 1)
        return PortableCos(p < s.a ? p * s.b : p * s.c + s.d);
    else if constexpr (kWave >= 2 && kWave <= 5)
        return p < s.a ? p * s.b - 1.0 : s.c - p * s.d;
    else if constexpr (kWave == 6)
        return PortableSin(p * 0.5) * 2.0 - 1.0;
    else if constexpr (kWave == 7)
        return 1.0 - PortableSin(p * 0.5) * 2.0;  // sin(p / 2 + pi) is -sin(p / 2)
    else if constexpr (kWave == 8)
        return PortableSin(p < s.a ? p * s.b : p * s.c + s.d) * 2.0 - 1.0;
    else
        return PortableSin(p);
}

} // namespace

double Lfo::WaveAt(double p) const
{
    const Shape s{shapeA, shapeB, shapeC, shapeD};
    switch (lfoWave) {
    case 1: return WaveOf<1>(s, p);
    case 2:
    case 3:
    case 4:
    case 5: return WaveOf<2>(s, p);
    case 6: return WaveOf<6>(s, p);
    case 7: return WaveOf<7>(s, p);
    case 8: return WaveOf<8>(s, p);
    default: return WaveOf<0>(s, p);
    }
}

void Lfo::Render(double* values, int frames)
{
    switch (lfoWave) {
    case 1: RenderWave<1>(values, frames); break;
    case 2:
    case 3:
    case 4:
    case 5: RenderWave<2>(values, frames); break;
    case 6: RenderWave<6>(values, frames); break;
    case 7: RenderWave<7>(values, frames); break;
    case 8: RenderWave<8>(values, frames); break;
    default: RenderWave<0>(values, frames); break;
    }
}

template <int kWave>
void Lfo::RenderWave(double* values, int frames)
{
    constexpr int kChunk = 64;
    alignas(16) double phases[kChunk];
    const Shape s{shapeA, shapeB, shapeC, shapeD};
    const double amp = lfoAmp;
    const double centre = lfoCentre;
    const double inc = lfoInc;
    double phase = lfoPhase;
    for (int done = 0; done < frames; done += kChunk) {
        const int n = std::min(kChunk, frames - done);
        // The phase advances one addition per sample, as Step does, so that it wraps at the
        // same samples. While the increment is below a period, one subtraction always wraps.
        if (inc < kTwoPi && phase < kTwoPi) {
            for (int i = 0; i < n; ++i) {
                phases[i] = phase;
                phase += inc;
                if (phase >= kTwoPi)
                    phase -= kTwoPi;
            }
        } else {
            for (int i = 0; i < n; ++i) {
                phases[i] = phase;
                phase += inc;
                if (phase >= kTwoPi) {
                    phase -= kTwoPi;
                    if (phase >= kTwoPi)
                        phase = WrapPhase(phase);
                }
            }
        }
        double* out = values + done;
        int i = 0;
        for (; i + 2 <= n; i += 2) {
            Lanes2 p;
            std::memcpy(&p, phases + i, sizeof p);
            const Lanes2 v = WaveOf<kWave>(s, p) * amp + centre;
            std::memcpy(out + i, &v, sizeof v);
        }
        if (i < n)
            out[i] = WaveOf<kWave>(s, phases[i]) * amp + centre;
    }
    lfoPhase = phase;
}

double Lfo::WrapPhase(double phase)
{
    double wrapped = PortableFmod(phase, kTwoPi);
    if (wrapped < 0.0)
        wrapped += kTwoPi;
    return wrapped >= 0.0 && wrapped < kTwoPi ? wrapped : 0.0;
}

void Lfo::Realign(int position)
{
    // fmod keeps the sign of a negative position; WrapPhase brings it into [0, 2 pi).
    const double turns = PortableFmod(static_cast<double>(position) * lfoInc * (1.0 / kTwoPi), 1.0);
    lfoPhase = WrapPhase(turns * kTwoPi);
}
