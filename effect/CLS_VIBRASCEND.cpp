#include "effect/CLS_VIBRASCEND.h"

#include "effect/BandName.h"
#include "effect/BandSplitBlock.h"
#include "effect/LfoSweep.h"
#include "effect/PresetCatalogue.h"
#include "effect/SilenceCopy.h"
#include "effect/Quantise.h"
#include "controls/IGraphics.h"
#include "effect/VibrascendEditor.h"
#include "platform/ProcessClock.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

IFxDeclaration CLS_VIBRASCEND::Declaration()
{
    IFxDeclaration d{};
    d.numParams = CLS_VIBRASCEND::kNumParams;
    d.channelConfig = "1-1 2-2";
    d.numPresets = 150;
    d.effectName = "Vibrascend";
    d.productName = "";
    d.manufacturerName = "Tolmira";
    d.version = 0x00010A00;
    d.uniqueId = 0x74336A61;
    d.manufacturerId = 0x546F4D69;  // "ToMi"
    d.latency = 0;
    return d;
}

namespace {

// The gain a gain parameter sets.
GainTarget GainOfParam(int index)
{
    switch (index) {
    case CLS_VIBRASCEND::kOutGain: return GainTarget::Out;
    case CLS_VIBRASCEND::kLowGain: return GainTarget::Low;
    case CLS_VIBRASCEND::kHighGain: return GainTarget::High;
    default: return GainTarget::None;
    }
}

}  // namespace

CLS_VIBRASCEND::CLS_VIBRASCEND()
    : IFxBase(Declaration()), vectorRegisters(WidestVectorRegisters()), sweep(lfos[0], lfos[1], gains, vectorRegisters)
{
    // A byte pattern no quantised value can take, so that the first notification of every
    // parameter applies.
    std::memset(paramCache.data(), 0x9B, sizeof(int32_t) * paramCache.size());
    missingParams = kNumParams;
    applied.fill(false);
    DefineVibrascendParams(*this);
    TakeParamValues();
    DefineFactoryPresets(*this);
}

CLS_VIBRASCEND::~CLS_VIBRASCEND() = default;

std::unique_ptr<IFxEditor> CLS_VIBRASCEND::CreateEditor()
{
    return BuildVibrascendEditor(*this, displays[0], displays[1]);
}

int32_t CLS_VIBRASCEND::CachedParam(int index) const
{
    return index >= 0 && index < kNumParams ? paramCache[static_cast<size_t>(index)] : -1;
}

void CLS_VIBRASCEND::ParamChanged(int index)
{
    if (index < 0 || index >= kNumParams || !GetParam(index))
        return;
    const int32_t q = QuantiseParam(index, EffectValue(index));
    int32_t& cached = paramCache[static_cast<size_t>(index)];
    if (q == cached)
        return;
    cached = q;
    Apply(index, q);

    for (int slot = 0; slot < 2; ++slot)
        if (index == kLfoParamIds[slot].target || index == kLfoParamIds[slot].depth ||
            index == lfos[slot].DrivenParam())
            UpdateLfoRange(slot);
    PublishRange(0);
    PublishRange(1);
    TrackApplied(index);
}

void CLS_VIBRASCEND::Apply(int index, int32_t q)
{
    switch (index) {
    case kSplitFreq:
        filter.SetSplitHz(static_cast<uint16_t>(std::clamp<int32_t>(q, 0, UINT16_MAX)));
        filter.Recompute(sampleRateSeen);
        MoveFilter();
        break;
    case kDamping:
        filter.SetDampingPercent(q);
        filter.Recompute(sampleRateSeen);
        MoveFilter();
        break;
    case kLowGain:
        gains.SetLow(BandGains::LinearOfTenthsDb(q));
        motion.gains[1].To(gains.lowBase, GlideFrames());
        break;
    case kHighGain:
        gains.SetHigh(BandGains::LinearOfTenthsDb(q));
        motion.gains[2].To(gains.highBase, GlideFrames());
        break;
    case kOutGain:
        gains.SetOut(BandGains::LinearOfTenthsDb(q));
        motion.gains[0].To(gains.outBase, GlideFrames());
        break;
    case kLfo1Target:
    case kLfo2Target: ApplyTarget(index == kLfo1Target ? 0 : 1, q); break;
    case kLfo1Wave:
    case kLfo2Wave: lfos[index == kLfo1Wave ? 0 : 1].SetWave(static_cast<int16_t>(q)); break;
    case kLfo1Freq:
    case kLfo2Freq: {
        const int slot = index == kLfo1Freq ? 0 : 1;
        const float hz = static_cast<float>(q) * 0.01f;
        lfos[slot].SetFrequency(hz, sampleRateSeen);
        displays[slot].ReplaceText(BandNameOf(hz));
        break;
    }
    case kLfo1Depth:
    case kLfo2Depth: {
        const int slot = index == kLfo1Depth ? 0 : 1;
        lfos[slot].SetDepthPercent(q);
        motion.depths[static_cast<size_t>(slot)].To(lfos[slot].Depth(), GlideFrames());
        break;
    }
    default: break;
    }
}

int CLS_VIBRASCEND::GlideFrames() const
{
    const int frames = ChangeFrames();
    if (frames == kChangeAsStep)
        return DeclickFrames();
    return frames > 0 ? frames : 0;
}

void CLS_VIBRASCEND::MoveFilter()
{
    // Runs keep the filter's own setting while nothing moves; a glide goes from where the
    // filter stands (on a log scale of the split frequency) to the new setting.
    const int frames = ChangeFrames() == kChangeAsStep ? DeclickFrames() : 0;
    const double hz = filter.EffectiveSplitHz(sampleRateSeen);
    if (frames > 0 && hz > 0.0 && motion.logSplitHz.value != 0.0) {
        motion.logSplitHz.To(std::log(hz), frames);
        motion.damping.To(filter.Damping(), frames);
    } else {
        motion.logSplitHz.Jump(hz > 0.0 ? std::log(hz) : 0.0);
        motion.damping.Jump(filter.Damping());
    }
}

void CLS_VIBRASCEND::EndMotion()
{
    // The block loops' own state again: weights from the gains' values, the filter's
    // coefficients.
    motion.Settle();
    gains.SetOut(gains.outBase);
    gains.SetLow(gains.lowBase);
    gains.SetHigh(gains.highBase);
}

void CLS_VIBRASCEND::ApplyTarget(int slot, int32_t q)
{
    Lfo& lfo = lfos[static_cast<size_t>(slot)];
    lfo.SetTarget(static_cast<int16_t>(std::clamp<int32_t>(q, INT16_MIN, INT16_MAX)));
    // LFO 1 wins when both name the same gain.
    const GainTarget first = lfos[0].TargetGain();
    const GainTarget second = lfos[1].TargetGain();
    lfos[0].SetActive(first != GainTarget::None);
    lfos[1].SetActive(second != GainTarget::None && second != first);

    // A gain this LFO stops driving returns at once to its own parameter value.
    const int16_t next = Lfo::DrivenParamOf(q);
    const int16_t previous = lfo.DrivenParam();
    if (previous >= 0 && previous != next) {
        // While processing, the gain moves from what the LFO last gave it back to its own value.
        const GainTarget restored = GainOfParam(previous);
        if (ProcessingStarted() && restored != GainTarget::None)
            motion.gains[static_cast<size_t>(restored) - 1].Jump(gains.Now(restored));
        paramCache[static_cast<size_t>(previous)] = -1;
        ParamChanged(previous);
    }
    lfo.SetDrivenParam(next);
}

void CLS_VIBRASCEND::UpdateLfoRange(int slot)
{
    Lfo& lfo = lfos[static_cast<size_t>(slot)];
    const GainTarget target = lfo.TargetGain();
    if (target != GainTarget::None)
        lfo.UpdateRange(static_cast<float>(gains.Base(target)));
}

void CLS_VIBRASCEND::PublishRange(int slot)
{
    const Lfo& lfo = lfos[static_cast<size_t>(slot)];
    LfoReadout& display = displays[static_cast<size_t>(slot)];
    if (lfo.Active())
        display.SetRange(lfo.Centre() - lfo.Amp(), lfo.Centre() + lfo.Amp());
    else
        display.ClearRange();
}

void CLS_VIBRASCEND::TrackApplied(int index)
{
    if (processingEnabled)
        return;
    bool& seen = applied[static_cast<size_t>(index)];
    if (!seen) {
        seen = true;
        --missingParams;
    }
    if (missingParams <= 0)
        processingEnabled = true;
}

void CLS_VIBRASCEND::Reset()
{
    if (!started)
        return;
    const double rate = SampleRate();
    // A rate that is not a positive finite number is not taken: the state stays prepared for
    // the last usable one.
    if (rate != sampleRateSeen && rate > 0.0 && std::isfinite(rate)) {
        sampleRateSeen = rate;
        tailSamples = NearestInt(rate);
        for (int index : {kSplitFreq, kLfo1Freq, kLfo2Freq}) {
            paramCache[static_cast<size_t>(index)] = -1;
            ParamChanged(index);
        }
    }
    filter.Recompute(sampleRateSeen);
    MoveFilter();
    EndMotion();
    lfos[0].SetPhase(0.0);
    lfos[1].SetPhase(0.0);
    resyncRequest = true;
}

uint32_t CLS_VIBRASCEND::ClockMs() const { return ProcessClockMs(); }

void CLS_VIBRASCEND::RealignLfos()
{
    const int position = SamplePosition();
    lfos[0].Realign(position);
    lfos[1].Realign(position);
}

namespace {

// Frames per run of the block loops: the LFO values, band weights and low-band outputs of one run
// live on the stack.
constexpr int kRunFrames = LfoSweep::kMaxFrames;

}  // namespace

void CLS_VIBRASCEND::ProcessBlock(double** inputs, double** outputs, int frames)
{
    BlockLoop(inputs, outputs, frames);
}

void CLS_VIBRASCEND::ProcessBlockFloat(float** inputs, float** outputs, int frames)
{
    BlockLoop(inputs, outputs, frames);
}

// The effect's block loop. The first block prepares the effect, and a pause re-aligns the LFOs
// with the host position. Then a frame is processed while fewer than tailSamples frames have
// passed since the last loud one (a loud sample on either channel, or a loud low-band output of
// the previous processed frame of this block); otherwise it is copied, and the filter, the LFOs
// and the count stay as they are. Runs of processed frames go through the filter (FilterRun),
// runs of silent frames through the copy.
template <class T>
void CLS_VIBRASCEND::BlockLoop(T** inputs, T** outputs, int frames)
{
    using band_split_block::Loud;
    if (!started) {
        started = true;
        Reset();
    }
    const uint32_t now = ClockMs();
    if (resyncRequest || now - lastClock > kResyncPauseMs) {
        RealignLfos();
        resyncRequest = false;
    }
    lastClock = now;
    const bool haveChannels = inputs && outputs && inputs[0] && inputs[1] && outputs[0] && outputs[1];
    if (!haveChannels || frames <= 0)
        return;
    const T* inL = inputs[0];
    const T* inR = inputs[1];
    T* outL = outputs[0];
    T* outR = outputs[1];
    prevLowL = 0.0;
    prevLowR = 0.0;
    int i = 0;
    while (i < frames) {
        if (silentCount >= tailSamples) {
            if (!Loud(prevLowL, kSilence) && !Loud(prevLowR, kSilence)) {
                // Nothing is heard while silence is copied: settings take their targets.
                if (motion.Moving())
                    EndMotion();
                i += silence_copy::CopySilentRun(vectorRegisters, inL + i, inR + i, outL + i, outR + i, frames - i,
                                                 kSilence);
                if (i >= frames)
                    break;
            }
            // Frame i is loud.
            silentCount = 0;
            if (tailSamples <= 0) {
                outL[i] = inL[i];
                outR[i] = inR[i];
                ++i;
                continue;
            }
        }
        const int n = std::min({frames - i, tailSamples - silentCount, motion.Moving() ? BandMotion::kRunFrames : kRunFrames});
        FilterRun<T>(inL + i, inR + i, outL + i, outR + i, n);
        i += n;
    }
}

// A run of at most BandMotion::kRunFrames frames while settings move: weights frame by frame
// from the glides (computed as the filter goes), the filter at the setting its glide has reached.
template <class T>
void CLS_VIBRASCEND::FilterMovingRun(const band_split_block::StereoRun& fixedFilter, const T* inL, const T* inR,
                                      T* outL, T* outR, int frames)
{
    band_split_block::StereoRun run = fixedFilter;
    if (motion.FilterMoving()) {
        BandSplitFilter::Coefficients c{};
        if (motion.RunFilter(sampleRateSeen, frames, c)) {
            run.a0 = c.a0;
            run.b1 = c.b1;
            run.b2 = c.b2;
        }
    }
    motion.FilterRun(lfos, sweep, gains, vectorRegisters, run, inL, inR, outL, outR, frames);
    if (!motion.Moving())
        EndMotion();
}

// `frames` frames that are all processed (silentCount + frames <= tailSamples).
template <class T>
void CLS_VIBRASCEND::FilterRun(const T* inL, const T* inR, T* outL, T* outR, int frames)
{
    using band_split_block::Loud;
    // Read before the outputs are written: they may be the same memory.
    const int lastLoudInput = band_split_block::LastLoudFrame(inL, inR, frames, kSilence);

    alignas(16) double lows[2 * kRunFrames];
    const band_split_block::StereoRun run{filter.A0(), filter.B1(), filter.B2(), &memory[0], &memory[1], lows};
    if (motion.Moving()) {
        FilterMovingRun(run, inL, inR, outL, outR, frames);
    } else if (sweep.Begin(frames)) {
        band_split_block::FilterStereo(run, inL, inR, outL, outR, frames, sweep);
        sweep.End();
    } else {
        band_split_block::FixedWeights fixed(gains.lowMul, gains.highMul);
        band_split_block::FilterStereo(run, inL, inR, outL, outR, frames, fixed);
    }

    // Frame j is loud when its input is, or when frame j - 1's low band was.
    int lastLoud = lastLoudInput;
    for (int j = frames - 2; j >= 0 && j >= lastLoud; --j)
        if (Loud(lows[2 * j], kSilence) || Loud(lows[2 * j + 1], kSilence)) {
            lastLoud = j + 1;
            break;
        }
    if (lastLoud < 0 && (Loud(prevLowL, kSilence) || Loud(prevLowR, kSilence)))
        lastLoud = 0;
    silentCount = lastLoud >= 0 ? frames - lastLoud : silentCount + frames;
    prevLowL = lows[2 * (frames - 1)];
    prevLowR = lows[2 * (frames - 1) + 1];
}
