// The band weights of runs of moving settings: in SSE2, AVX2 and AVX-512 registers, for every
// wave and run length and for glides that start, run on or end inside a run, they are bit for bit
// what stepping the glides and the LFOs one frame at a time gives, and they leave the LFOs' phases,
// the gains in effect and the glides where that stepping leaves them.
#include "effect/BandMotion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Moving {
    BandMotion motion;
    std::array<Lfo, 2> lfos;
    BandGains gains;
};

struct Result {
    std::vector<double> low, high;
    double phase[2];
    double now[3];
    Glide glides[5];
};

// LFO 1 and LFO 2 on `target1` and `target2` (0 for none) with the given waves; the glides in
// the states `glides` names: bit 0 the output gain starts a 32-frame glide, bit 1 the low gain is
// 5 frames into a 480-frame glide, bit 2 the high gain is 3 frames into a 10-frame glide (whose
// last step falls short of its target: the target is to be taken at its end), bit 3
// LFO 1's depth starts a 40-frame glide, bit 4 LFO 2's depth is 30 frames into a 33-frame glide.
Moving MakeMoving(int wave1, int wave2, int target1, int target2, int glides)
{
    Moving m;
    const int waves[2] = {wave1, wave2};
    const int targets[2] = {target1, target2};
    for (int k = 0; k < 2; ++k) {
        Lfo& lfo = m.lfos[static_cast<size_t>(k)];
        lfo.SetTarget(static_cast<int16_t>(targets[k]));
        lfo.SetActive(targets[k] != 0);
        lfo.SetWave(static_cast<int16_t>(waves[k]));
        // LFO 2 fast enough to wrap its phase every few frames.
        lfo.SetFrequency(k == 0 ? 3.7f : 2900.0f, 44100.0);
        lfo.SetPhase(0.5 + 2.5 * k);
    }
    m.gains.SetOut(0.9);
    m.gains.SetLow(1.2);
    m.gains.SetHigh(0.85);
    const double starts[5] = {0.9, 1.2, 0.85, 0.3, 0.62};
    for (int i = 0; i < 3; ++i)
        m.motion.gains[static_cast<size_t>(i)].Jump(starts[i]);
    for (int k = 0; k < 2; ++k)
        m.motion.depths[static_cast<size_t>(k)].Jump(starts[3 + k]);
    if (glides & 1)
        m.motion.gains[0].To(1.4, 32);
    if (glides & 2) {
        m.motion.gains[1].To(0.05, 480);
        m.motion.gains[1].Advance(5);
    }
    if (glides & 4) {
        m.motion.gains[2].To(0.41, 10);
        m.motion.gains[2].Advance(3);
    }
    if (glides & 8)
        m.motion.depths[0].To(0.95, 40);
    if (glides & 16) {
        m.motion.depths[1].To(0.0, 33);
        m.motion.depths[1].Advance(30);
    }
    return m;
}

Result Finish(Moving& m, Result r)
{
    for (int k = 0; k < 2; ++k)
        r.phase[k] = m.lfos[static_cast<size_t>(k)].Phase();
    r.now[0] = m.gains.outNow;
    r.now[1] = m.gains.lowNow;
    r.now[2] = m.gains.highNow;
    for (int i = 0; i < 3; ++i)
        r.glides[i] = m.motion.gains[static_cast<size_t>(i)];
    for (int k = 0; k < 2; ++k)
        r.glides[3 + k] = m.motion.depths[static_cast<size_t>(k)];
    return r;
}

Result Computed(Moving m, VectorRegisters registers, const std::vector<int>& runs)
{
    Result r{};
    LfoSweep sweep(m.lfos[0], m.lfos[1], m.gains, registers);
    for (int frames : runs) {
        double low[BandMotion::kRunFrames];
        double high[BandMotion::kRunFrames];
        m.motion.RunWeights(m.lfos, sweep, m.gains, registers, frames, low, high);
        r.low.insert(r.low.end(), low, low + frames);
        r.high.insert(r.high.end(), high, high + frames);
    }
    return Finish(m, r);
}

// One frame at a time: each gain takes its glide's next value, then each LFO that sweeps a gain
// (LFO 1 first) sets it from its wave around the range its depth's next value and the gain give.
Result Stepped(Moving m, const std::vector<int>& runs)
{
    Result r{};
    for (int frames : runs)
        for (int f = 0; f < frames; ++f) {
            double now[3];
            for (int g = 0; g < 3; ++g)
                now[g] = m.motion.gains[static_cast<size_t>(g)].Next();
            for (int k = 0; k < 2; ++k) {
                const double depth = m.motion.depths[static_cast<size_t>(k)].Next();
                Lfo& lfo = m.lfos[static_cast<size_t>(k)];
                if (!lfo.Active() || lfo.TargetGain() == GainTarget::None)
                    continue;
                double& gain = now[static_cast<int>(lfo.TargetGain()) - 1];
                float centre = 0.0f;
                float amp = 0.0f;
                Lfo::RangeOf(static_cast<float>(depth), static_cast<float>(gain), centre, amp);
                gain = static_cast<double>(amp) * lfo.WaveAt(lfo.Phase()) + static_cast<double>(centre);
                lfo.SetPhase(Lfo::NextPhase(lfo.Phase(), lfo.Increment()));
            }
            r.low.push_back(now[0] * now[1]);
            r.high.push_back(now[0] * now[2]);
            m.gains.outNow = now[0];
            m.gains.lowNow = now[1];
            m.gains.highNow = now[2];
        }
    return Finish(m, r);
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void ExpectSame(const Result& got, const Result& want, const std::string& what)
{
    ASSERT_EQ(got.low.size(), want.low.size()) << what;
    for (size_t i = 0; i < want.low.size(); ++i) {
        ASSERT_TRUE(SameBits(got.low[i], want.low[i]))
            << what << " frame " << i << " got " << got.low[i] << " want " << want.low[i];
        ASSERT_TRUE(SameBits(got.high[i], want.high[i]))
            << what << " frame " << i << " got " << got.high[i] << " want " << want.high[i];
    }
    for (int k = 0; k < 2; ++k)
        EXPECT_TRUE(SameBits(got.phase[k], want.phase[k])) << what << " LFO " << k;
    for (int g = 0; g < 3; ++g)
        EXPECT_TRUE(SameBits(got.now[g], want.now[g])) << what << " gain " << g;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(SameBits(got.glides[i].value, want.glides[i].value)) << what << " glide " << i;
        EXPECT_EQ(got.glides[i].Moving(), want.glides[i].Moving()) << what << " glide " << i;
        EXPECT_EQ(got.glides[i].frames - got.glides[i].done, want.glides[i].frames - want.glides[i].done)
            << what << " glide " << i;
    }
}

std::vector<VectorRegisters> AvailableRegisters()
{
    std::vector<VectorRegisters> available;
    for (VectorRegisters r : {VectorRegisters::Sse2, VectorRegisters::Avx2, VectorRegisters::Avx512})
        if (VectorRegistersAvailable(r))
            available.push_back(r);
    return available;
}

}  // namespace

TEST(BandMotion, MovingRunsGiveWhatSteppingOneFrameAtATimeGives)
{
    const std::vector<int> runs = {1, 2, 7, 8, 9, 31, 32, 32, 3, 32, 32, 32, 17};
    const int targetPairs[][2] = {{1, 2}, {2, 3}, {3, 1}, {0, 2}, {1, 0}, {0, 0}};
    for (VectorRegisters registers : AvailableRegisters())
        for (int wave1 = 0; wave1 <= 8; ++wave1)
            for (const auto& targets : targetPairs)
                for (int glides : {0, 1, 2, 4, 8, 16, 31, 9, 22}) {
                    const int wave2 = (wave1 * 5 + 3) % 9;
                    const Moving setup = MakeMoving(wave1, wave2, targets[0], targets[1], glides);
                    ExpectSame(Computed(setup, registers, runs), Stepped(setup, runs),
                               "registers " + std::to_string(static_cast<int>(registers)) + ", waves " +
                                   std::to_string(wave1) + "/" + std::to_string(wave2) + ", targets " +
                                   std::to_string(targets[0]) + "/" + std::to_string(targets[1]) + ", glides " +
                                   std::to_string(glides));
                    if (HasFatalFailure())
                        return;
                }
}

// Glides of every length from 1 to 40 frames, entered at each of their first frames, taken in two
// runs of each length from 1 to 32: the steps of lanes start at the glide's first frame, wholly
// before its end (computed without tests), across it and past it, in every register width. A
// glide toward an infinite target (every step infinite) still answers its start at its first
// frame.
TEST(BandMotion, GlidesGiveTheirSteppedValuesWhereverTheyStartAndEndInARun)
{
    for (VectorRegisters registers : AvailableRegisters())
        for (double to : {0.41, std::numeric_limits<double>::infinity()})
            for (int length = 1; length <= 40; ++length)
                for (int done = 0; done < length && done < 9; ++done)
                    for (int frames = 1; frames <= BandMotion::kRunFrames; ++frames) {
                        Moving m = MakeMoving(0, 0, 0, 0, 0);
                        m.motion.gains[0].To(to, length);
                        if (done > 0)
                            m.motion.gains[0].Advance(done);
                        m.motion.gains[2].To(1.7, length + 3);
                        const std::vector<int> runs = {frames, frames};
                        ExpectSame(Computed(m, registers, runs), Stepped(m, runs),
                                   "registers " + std::to_string(static_cast<int>(registers)) + ", to " +
                                       std::to_string(to) + ", length " + std::to_string(length) + ", done " +
                                       std::to_string(done) + ", run " + std::to_string(frames));
                        if (HasFatalFailure())
                            return;
                    }
}

namespace {

// Output, low bands and filter memories of runs filtered with the weights computed as the filter
// goes (`fused`), or first into arrays and then filtered.
template <class T>
struct Filtered {
    std::vector<T> left, right;
    std::vector<double> lows;
    FilterMemory memory[2];
    Result state;
};

template <class T>
Filtered<T> FilterRuns(Moving m, VectorRegisters registers, const std::vector<int>& runs, bool fused)
{
    Filtered<T> f{};
    LfoSweep sweep(m.lfos[0], m.lfos[1], m.gains, registers);
    BandSplitFilter filter;
    filter.SetSplitHz(700);
    filter.SetDampingPercent(30);
    filter.Recompute(44100.0);
    int at = 0;
    for (int frames : runs) {
        std::vector<T> inL(static_cast<size_t>(frames)), inR(static_cast<size_t>(frames));
        for (int i = 0; i < frames; ++i) {
            inL[static_cast<size_t>(i)] = static_cast<T>(0.4 * std::sin(0.05 * (at + i)));
            inR[static_cast<size_t>(i)] = static_cast<T>(0.3 * std::cos(0.07 * (at + i)));
        }
        std::vector<T> outL(static_cast<size_t>(frames)), outR(static_cast<size_t>(frames));
        double lows[2 * BandMotion::kRunFrames];
        const band_split_block::StereoRun run{filter.A0(), filter.B1(), filter.B2(), &f.memory[0], &f.memory[1], lows};
        if (fused) {
            m.motion.FilterRun(m.lfos, sweep, m.gains, registers, run, inL.data(), inR.data(), outL.data(),
                               outR.data(), frames);
        } else {
            double low[BandMotion::kRunFrames];
            double high[BandMotion::kRunFrames];
            m.motion.RunWeights(m.lfos, sweep, m.gains, registers, frames, low, high);
            band_split_block::RunWeights weights{low, high};
            band_split_block::FilterStereo(run, inL.data(), inR.data(), outL.data(), outR.data(), frames, weights);
        }
        f.left.insert(f.left.end(), outL.begin(), outL.end());
        f.right.insert(f.right.end(), outR.begin(), outR.end());
        f.lows.insert(f.lows.end(), lows, lows + 2 * frames);
        at += frames;
    }
    f.state = Finish(m, Result{});
    return f;
}

template <class T>
void ExpectSameFiltered(const Filtered<T>& got, const Filtered<T>& want, const std::string& what)
{
    ASSERT_EQ(got.left.size(), want.left.size()) << what;
    for (size_t i = 0; i < want.left.size(); ++i) {
        ASSERT_EQ(std::memcmp(&got.left[i], &want.left[i], sizeof(T)), 0) << what << " frame " << i;
        ASSERT_EQ(std::memcmp(&got.right[i], &want.right[i], sizeof(T)), 0) << what << " frame " << i;
    }
    for (size_t i = 0; i < want.lows.size(); ++i)
        ASSERT_TRUE(SameBits(got.lows[i], want.lows[i])) << what << " low " << i;
    for (int c = 0; c < 2; ++c) {
        EXPECT_TRUE(SameBits(got.memory[c].w1, want.memory[c].w1)) << what;
        EXPECT_TRUE(SameBits(got.memory[c].w2, want.memory[c].w2)) << what;
    }
    ExpectSame(got.state, want.state, what);
}

}  // namespace

TEST(BandMotion, FilteringAsTheWeightsAreComputedGivesWhatFilteringComputedWeightsGives)
{
    const std::vector<int> runs = {1, 2, 7, 8, 9, 31, 32, 32, 3, 32, 17};
    for (VectorRegisters registers : AvailableRegisters())
        for (int wave1 : {0, 4, 7})
            for (int glides : {0, 1, 8, 9, 22, 31}) {
                const Moving setup = MakeMoving(wave1, (wave1 + 3) % 9, 1, 2, glides);
                const std::string what = "registers " + std::to_string(static_cast<int>(registers)) + ", wave " +
                                         std::to_string(wave1) + ", glides " + std::to_string(glides);
                ExpectSameFiltered(FilterRuns<float>(setup, registers, runs, true),
                                   FilterRuns<float>(setup, registers, runs, false), what + ", float");
                ExpectSameFiltered(FilterRuns<double>(setup, registers, runs, true),
                                   FilterRuns<double>(setup, registers, runs, false), what + ", double");
                if (HasFatalFailure())
                    return;
            }
}
