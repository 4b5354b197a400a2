// The second-order low-pass that splits each channel into a low band (its output) and a high
// band (input minus low band): bilinear-transform coefficients from the split frequency and a
// damping coefficient, and one pair of memories per channel.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Filter memories of one channel, most recent first.
struct FilterMemory {
    double w1 = 0.0;
    double w2 = 0.0;
};

class BandSplitFilter {
public:
    // Highest split frequency used for the coefficients, as a fraction of the sample rate: at
    // and above half the rate the tangent turns negative and the filter would be unstable.
    static constexpr double kMaxSplitRatio = 0.49;

    static constexpr double kFlushBelow = 1e-24;
    static constexpr double kFlushAbove = std::numeric_limits<double>::max();

    // Damping coefficient of a "Damping" percentage: 6.0 at 0 %, 1.53 at 50 %, 0.04 at 100 %.
    static float DampingCoef(int32_t percent);

    void SetSplitHz(uint16_t hz) { splitHz = hz; }
    void SetDampingPercent(int32_t percent) { dampingCoef = DampingCoef(percent); }
    // Recomputes a0, b1, b2 for `sampleRate`; a rate that is not a positive finite number
    // leaves them as they are.
    void Recompute(double sampleRate);

    struct Coefficients {
        double a0, b1, b2;
    };
    // The coefficients of a split frequency (limited below half the rate) and damping
    // coefficient; false when they would not be usable.
    static bool CoefficientsOf(double hz, double damping, double sampleRate, Coefficients& out);
    // The split frequency the coefficients use at `sampleRate`.
    double EffectiveSplitHz(double sampleRate) const;

    // One sample through the filter; answers the low band.
    double Run(FilterMemory& m, double x) const
    {
        // Memories too small to matter are flushed to zero (no denormal arithmetic); so are
        // non-finite ones, which a NaN or infinite input sample would otherwise leave cycling
        // in the filter for good.
        if (!(std::fabs(m.w1) >= kFlushBelow && std::fabs(m.w1) <= kFlushAbove))
            m.w1 = 0.0;
        if (!(std::fabs(m.w2) >= kFlushBelow && std::fabs(m.w2) <= kFlushAbove))
            m.w2 = 0.0;
        const double w = a0 * x - (b2 * m.w2 + b1 * m.w1);
        const double low = ((w + m.w1) + m.w1) + m.w2;
        m.w2 = m.w1;
        m.w1 = w;
        return low;
    }

    uint16_t SplitHz() const { return splitHz; }
    float Damping() const { return dampingCoef; }
    double A0() const { return a0; }
    double B1() const { return b1; }
    double B2() const { return b2; }

private:
    uint16_t splitHz = 0;
    float dampingCoef = 0.0f;
    double a0 = 0.0;
    double b1 = 0.0;
    double b2 = 0.0;
};
