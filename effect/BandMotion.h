// Click-free movement of the effect's settings while blocks are processed: the three gains and
// the two LFO depths move linearly frame by frame, the filter's split frequency (on a log
// scale) and damping coefficient once per run of at most kRunFrames frames, each from where it
// stands toward its target over a given number of frames. While nothing moves the block loops
// run as they always do.
#pragma once

#include "effect/BandGains.h"
#include "effect/BandSplitBlock.h"
#include "effect/BandSplitFilter.h"
#include "effect/Lfo.h"
#include "effect/LfoSweep.h"
#include "effect/VectorRegisters.h"
#include "framework/Glide.h"

#include <array>

class BandMotion {
public:
    static constexpr int kRunFrames = 32;

    // The gains in the order output, low, high (the order of GainTarget less one).
    std::array<Glide, 3> gains;
    std::array<Glide, 2> depths;
    Glide logSplitHz;
    Glide damping;

    bool Moving() const;
    bool FilterMoving() const { return logSplitHz.Moving() || damping.Moving(); }
    // Every setting at its target.
    void Settle();

    // Band weights of a run of `frames` frames (1 .. kRunFrames) while settings move: per frame
    // the gains' and depths' glide values, each active LFO stepped once (LFO 1 first) around the
    // centre and amplitude its moving depth and gain give, its wave taken from `sweep` (which
    // sweeps `lfos`). The LFOs' phases, the gains in effect and the glides move on by the run.
    // Computed in vector passes over the run in `registers` (which are to be available; every
    // choice gives the same bits): `lowMul` and `highMul` receive `frames` rounded up to a
    // multiple of eight values at most, of which those past the run mean nothing.
    void RunWeights(std::array<Lfo, 2>& lfos, LfoSweep& sweep, BandGains& state, VectorRegisters registers,
                    int frames, double* lowMul, double* highMul);
    // Filters a run of `frames` frames (1 .. kRunFrames) of both channels with `run` and weights
    // the bands with what RunWeights gives, computed first for the whole run in the same
    // registers as the filter loop. Leaves the LFOs, `state` and the glides as RunWeights does.
    template <class T>
    void FilterRun(std::array<Lfo, 2>& lfos, LfoSweep& sweep, BandGains& state, VectorRegisters registers,
                   const band_split_block::StereoRun& run, const T* inL, const T* inR, T* outL, T* outR, int frames);
    // The filter's coefficients for the run that starts now; the filter's glides then move on by
    // `frames`. False (nothing moved) when the coefficients would not be usable.
    bool RunFilter(double sampleRate, int frames, BandSplitFilter::Coefficients& out);
};
