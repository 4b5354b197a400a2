// The block loops of the band-split path: both channels' filters in the two lanes of one
// register, the band weights applied, and the silence scan and copy of the fall-back. Samples are
// read and written in the host's own type (float or double); the arithmetic is double throughout.
#pragma once

#include "effect/BandSplitFilter.h"
#include "effect/PortableMath.h"
#include "framework/SubnormalFlush.h"

#include <cstring>
#include <limits>
#include <type_traits>

namespace band_split_block {

// Magnitude at or below which a sample or a low-band output is silent, in the sample's own type:
// for a float, the largest float below the double threshold, so that the comparison answers as
// it would in double.
template <class T>
constexpr T SilenceIn(double threshold)
{
    if constexpr (std::is_same_v<T, float>) {
        const float f = static_cast<float>(threshold);
        return static_cast<double>(f) < threshold ? f : std::bit_cast<float>(std::bit_cast<uint32_t>(f) - 1);
    } else {
        return threshold;
    }
}

inline bool Loud(double x, double threshold) { return x > threshold || -x > threshold; }

// Index of the last frame of [0, frames) in which either channel's sample is loud; -1 for none.
template <class T>
int LastLoudFrame(const T* left, const T* right, int frames, double threshold)
{
    const T limit = SilenceIn<T>(threshold);
    for (int i = frames - 1; i >= 0; --i)
        if (left[i] > limit || -left[i] > limit || right[i] > limit || -right[i] > limit)
            return i;
    return -1;
}

// The larger of each pair of lanes, as the processor's max instruction takes it: a NaN in `x`
// gives `y`.
template <class V>
[[gnu::always_inline]] inline V Larger(V x, V y)
{
    return x > y ? x : y;
}

// The largest lane, halves compared down to one lane.
template <class V>
[[gnu::always_inline]] inline auto LargestLane(V v)
{
    constexpr size_t kLanes = sizeof(V) / sizeof(v[0]);
    if constexpr (kLanes == 1) {
        return v[0];
    } else {
        constexpr size_t kHalf = kLanes / 2;
        return LargestLane(Larger(portable_math::LanesFrom<0>(v, std::make_index_sequence<kHalf>{}),
                                  portable_math::LanesFrom<kHalf>(v, std::make_index_sequence<kHalf>{})));
    }
}

// From frame `n` on, copies steps of `kStep` frames while both channels of a whole step are
// silent, scanning them in vectors of `kVectorBytes` bytes; answers the frame the copy stopped at.
// The largest magnitude of a step decides, and a NaN never becomes the largest. Subnormal samples
// are written as zeros of their sign, also in place.
template <class T, int kVectorBytes, int kStep>
[[gnu::always_inline]] inline int CopySilentSteps(const T* inL, const T* inR, T* outL, T* outR, int n, int frames,
                                                  T limit)
{
    using Word = std::conditional_t<std::is_same_v<T, float>, int32_t, int64_t>;
    using Vec [[gnu::vector_size(kVectorBytes)]] = T;
    using Bits [[gnu::vector_size(kVectorBytes)]] = Word;
    constexpr int kLanes = static_cast<int>(sizeof(Vec) / sizeof(T));
    static_assert(kStep % kLanes == 0);
    // Clears the sign bit.
    constexpr Word kMagnitude = std::numeric_limits<Word>::max();
    constexpr Word kSign = std::numeric_limits<Word>::min();
    constexpr Word kNormal = subnormal_flush::kSmallestNormalBits<T>;
    // Keeps the sign, and the rest where the magnitude is that of a normal number (or more).
    const auto flushed = [](Bits bits, Bits magnitude) { return bits & ((magnitude >= kNormal) | kSign); };
    for (; n + kStep <= frames; n += kStep) {
        Vec peak{};
        for (int k = 0; k < kStep; k += kLanes) {
            Bits l;
            Bits r;
            std::memcpy(&l, inL + n + k, sizeof l);
            std::memcpy(&r, inR + n + k, sizeof r);
            const Bits lm = l & kMagnitude;
            const Bits rm = r & kMagnitude;
            const Bits lOut = flushed(l, lm);
            const Bits rOut = flushed(r, rm);
            std::memcpy(outL + n + k, &lOut, sizeof lOut);
            std::memcpy(outR + n + k, &rOut, sizeof rOut);
            peak = Larger(std::bit_cast<Vec>(lm), peak);
            peak = Larger(std::bit_cast<Vec>(rm), peak);
        }
        if (LargestLane(peak) > limit)
            break;
    }
    return n;
}

// Copies the frames from the start that are silent on both channels (a NaN counts as silent, as
// it fails every comparison) and answers how many there were. The copy runs together with the
// scan, in steps of 64 and then 16 frames, in vectors of `kVectorBytes` bytes; frames copied past
// the first loud one are written again by whoever processes them. Inlined, so that a caller
// compiled for wider registers runs it in them.
template <class T, int kVectorBytes>
[[gnu::always_inline]] inline int CopySilentRun(const T* inL, const T* inR, T* outL, T* outR, int frames,
                                                double threshold)
{
    const T limit = SilenceIn<T>(threshold);
    int n = CopySilentSteps<T, kVectorBytes, 64>(inL, inR, outL, outR, 0, frames, limit);
    n = CopySilentSteps<T, kVectorBytes, 16>(inL, inR, outL, outR, n, frames, limit);
    while (n < frames && !(inL[n] > limit || -inL[n] > limit || inR[n] > limit || -inR[n] > limit)) {
        outL[n] = subnormal_flush::Flushed(inL[n]);
        outR[n] = subnormal_flush::Flushed(inR[n]);
        ++n;
    }
    return n;
}

// What the filter stage needs of the effect: coefficients, the two channels' memories, and where
// the low-band outputs go.
struct StereoRun {
    double a0, b1, b2;
    FilterMemory* left;
    FilterMemory* right;
    double* lows;  // receives both channels' low-band outputs per frame, interleaved
};

inline Lanes2 Broadcast(double v) { return Lanes2{v, v}; }

inline Lanes2 Lane(Lanes2 v, int lane)
{
    return lane == 0 ? __builtin_shufflevector(v, v, 0, 0) : __builtin_shufflevector(v, v, 1, 1);
}

// Band weights that stay the same over the run.
struct FixedWeights {
    Lanes2 low, high;
    FixedWeights(double lowMul, double highMul) : low(Broadcast(lowMul)), high(Broadcast(highMul)) {}
    void Pair(Lanes2& lowMul, Lanes2& highMul) const
    {
        lowMul = low;
        highMul = high;
    }
};

// Band weights given frame by frame in two arrays (with room for one frame past an odd run).
struct RunWeights {
    const double* low;
    const double* high;
    int next = 0;
    void Pair(Lanes2& lowMul, Lanes2& highMul)
    {
        lowMul = Lanes2{low[next], low[next + 1]};
        highMul = Lanes2{high[next], high[next + 1]};
        next += 2;
    }
};

// The flush test of the per-sample filter (a memory not >= the flush threshold, or not finite,
// is set to zero), lane by lane.
inline Lanes2 Flushed(Lanes2 w)
{
    const Lanes2 a = std::bit_cast<Lanes2>(std::bit_cast<LaneBits2>(w) & 0x7FFFFFFFFFFFFFFFll);
    const LaneBits2 usable = (a >= BandSplitFilter::kFlushBelow) & (a <= BandSplitFilter::kFlushAbove);
    return std::bit_cast<Lanes2>(std::bit_cast<LaneBits2>(w) & usable);
}

// Whether the flush would change `w`: non-zero and below the threshold, or not finite.
inline bool NeedsFlush(Lanes2 w)
{
    const Lanes2 a = std::bit_cast<Lanes2>(std::bit_cast<LaneBits2>(w) & 0x7FFFFFFFFFFFFFFFll);
    const LaneBits2 usable = (a >= BandSplitFilter::kFlushBelow) & (a <= BandSplitFilter::kFlushAbove);
    const LaneBits2 bad = ~usable & (a != 0.0);
    return (bad[0] | bad[1]) != 0;
}

// Filters `frames` frames of both channels and weights the bands, taking the weights two frames
// at a time from `weights` (which may compute them as it goes: its work overlaps the filter's
// chain of dependent operations). Per frame this is exactly the per-sample filter step of each
// channel: memories the step would flush are flushed as they arise (a branch that is almost never
// taken), everything else runs without tests. Inlined, so that a caller compiled for wider
// registers computes its weights in them.
template <class T, class Weights>
[[gnu::always_inline]] inline void FilterStereo(const StereoRun& run, const T* inL, const T* inR, T* outL, T* outR, int frames, Weights& weights)
{
    const Lanes2 a0 = Broadcast(run.a0);
    const Lanes2 b1 = Broadcast(run.b1);
    const Lanes2 b2 = Broadcast(run.b2);
    Lanes2 w1 = Flushed(Lanes2{run.left->w1, run.right->w1});
    Lanes2 w2 = Flushed(Lanes2{run.left->w2, run.right->w2});
    const auto frame = [&](int i, Lanes2 lowMul, Lanes2 highMul) {
        const Lanes2 x = {static_cast<double>(inL[i]), static_cast<double>(inR[i])};
        const Lanes2 w = a0 * x - (b2 * w2 + b1 * w1);
        const Lanes2 low = ((w + w1) + w1) + w2;
        const Lanes2 out = (x - low) * highMul + low * lowMul;
        std::memcpy(run.lows + 2 * i, &low, sizeof low);
        outL[i] = static_cast<T>(out[0]);
        outR[i] = static_cast<T>(out[1]);
        w2 = w1;
        w1 = NeedsFlush(w) ? Flushed(w) : w;
    };
    for (int i = 0; i < frames; i += 2) {
        Lanes2 lowMul;
        Lanes2 highMul;
        weights.Pair(lowMul, highMul);
        frame(i, Lane(lowMul, 0), Lane(highMul, 0));
        if (i + 1 < frames)
            frame(i + 1, Lane(lowMul, 1), Lane(highMul, 1));
    }
    run.left->w1 = w1[0];
    run.right->w1 = w1[1];
    run.left->w2 = w2[0];
    run.right->w2 = w2[1];
}

}  // namespace band_split_block
