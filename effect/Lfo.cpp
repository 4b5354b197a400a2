#include "effect/Lfo.h"

#include "effect/PortableMath.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;
}

int16_t Lfo::DrivenParamOf(int target)
{
    switch (target) {
    case 1: return 4;
    case 2: return 2;
    case 3: return 3;
    default: return -1;
    }
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
    default: break;
    }
    lfoShape = ShapeOf(wave, shapeA, shapeB, shapeC, shapeD);
}

void Lfo::SetFrequency(float hz, double sampleRate)
{
    if (sampleRate > 0.0 && std::isfinite(sampleRate))
        lfoInc = static_cast<double>(hz) * kTwoPi / sampleRate;
}

void Lfo::UpdateRange(float base) { RangeOf(lfoDepth, base, lfoCentre, lfoAmp); }


LfoShape Lfo::ShapeOf(int16_t wave, double a, double b, double c, double d)
{
    constexpr double kNoSplit = std::numeric_limits<double>::infinity();
    switch (wave) {
    case 1: return {true, a, b, c, d, 1, portable_math::kSignBit, 1.0, 0.0};
    case 2:
    case 3:
    case 4:
    case 5: return {false, a, b, c, d, 0, 0, 1.0, 0.0};
    case 6: return {true, kNoSplit, 0.5, 0.0, 0.0, 0, 0, 2.0, -1.0};
    // sin(p / 2 + pi) * 2 + 1 is 1 - 2 sin(p / 2).
    case 7: return {true, kNoSplit, 0.5, 0.0, 0.0, 0, 0, -2.0, 1.0};
    case 8: return {true, a, b, c, d, 0, 0, 2.0, -1.0};
    default: return {true, kNoSplit, 1.0, 0.0, 0.0, 0, 0, 1.0, 0.0};
    }
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
