#include "effect/CLS_VIBRASCEND.h"

#include "effect/BandName.h"
#include "effect/PresetCatalogue.h"
#include "effect/ProcessClock.h"
#include "effect/Quantise.h"
#include "controls/IGraphics.h"
#include "effect/VibrascendEditor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

IFxDeclaration Declaration()
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

// Range bars: one per LFO, 160 pixels wide from x0, rows 327 to 333; 80.213806 pixels per unit
// of linear gain map the whole gain range onto the bar.
constexpr int kBarTop = 327;
constexpr int kBarBottom = 333;
constexpr int kBarWidth = 160;
constexpr int kBarX0[2] = {33, 239};
constexpr float kPixelsPerGain = 80.213806f;

IBox FullBar(int slot) { return IBox{kBarX0[slot], kBarTop, kBarX0[slot] + kBarWidth, kBarBottom}; }

}  // namespace

CLS_VIBRASCEND::CLS_VIBRASCEND()
    : IFxVST3(Declaration()), displays{LfoReadout(FullBar(0)), LfoReadout(FullBar(1))}
{
    // A byte pattern no quantised value can take, so that the first notification of every
    // parameter applies.
    std::memset(paramCache.data(), 0x9B, sizeof(int32_t) * paramCache.size());
    missingParams = kNumParams;
    applied.fill(false);
    DefineVibrascendParams(*this);
    DefineFactoryPresets(*this);
}

CLS_VIBRASCEND::~CLS_VIBRASCEND() = default;

std::unique_ptr<IFxEditor> CLS_VIBRASCEND::CreateEditor() { return BuildVibrascendEditor(*this, displays[0], displays[1]); }

int32_t CLS_VIBRASCEND::CachedParam(int index) const
{
    return index >= 0 && index < kNumParams ? paramCache[static_cast<size_t>(index)] : -1;
}

void CLS_VIBRASCEND::ParamChanged(int index)
{
    std::lock_guard<std::recursive_mutex> guard(Lock());
    if (index < 0 || index >= kNumParams)
        return;
    const IParamDef* param = GetParam(index);
    if (!param)
        return;
    const int32_t q = QuantiseParam(index, param->Value());
    int32_t& cached = paramCache[static_cast<size_t>(index)];
    if (q == cached)
        return;
    cached = q;
    Apply(index, q);

    for (int slot = 0; slot < 2; ++slot)
        if (index == kLfoParamIds[slot].target || index == kLfoParamIds[slot].depth || index == lfos[slot].DrivenParam())
            UpdateLfoRange(slot);
    UpdateBar(0);
    UpdateBar(1);
    TrackApplied(index);
}

void CLS_VIBRASCEND::Apply(int index, int32_t q)
{
    switch (index) {
    case kSplitFreq:
        filter.SetSplitHz(static_cast<uint16_t>(std::clamp<int32_t>(q, 0, UINT16_MAX)));
        filter.Recompute(sampleRateSeen);
        break;
    case kDamping:
        filter.SetDampingPercent(q);
        filter.Recompute(sampleRateSeen);
        break;
    case kLowGain:
        gains.SetLow(BandGains::LinearOfTenthsDb(q));
        break;
    case kHighGain:
        gains.SetHigh(BandGains::LinearOfTenthsDb(q));
        break;
    case kOutGain:
        gains.SetOut(BandGains::LinearOfTenthsDb(q));
        break;
    case kLfo1Target:
    case kLfo2Target:
        ApplyTarget(index == kLfo1Target ? 0 : 1, q);
        break;
    case kLfo1Wave:
    case kLfo2Wave:
        lfos[index == kLfo1Wave ? 0 : 1].SetWave(static_cast<int16_t>(q));
        break;
    case kLfo1Freq:
    case kLfo2Freq: {
        const int slot = index == kLfo1Freq ? 0 : 1;
        const float hz = static_cast<float>(q) * 0.01f;
        lfos[slot].SetFrequency(hz, sampleRateSeen);
        displays[slot].ReplaceText(BandNameOf(hz));
        break;
    }
    case kLfo1Depth:
    case kLfo2Depth:
        lfos[index == kLfo1Depth ? 0 : 1].SetDepthPercent(q);
        break;
    default:
        break;
    }
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

void CLS_VIBRASCEND::UpdateBar(int slot)
{
    const Lfo& lfo = lfos[static_cast<size_t>(slot)];
    LfoReadout& display = displays[static_cast<size_t>(slot)];
    if (!lfo.Active()) {
        display.CollapseBar();
        return;
    }
    const float low = (lfo.Centre() - lfo.Amp()) * kPixelsPerGain;
    const float high = (lfo.Centre() + lfo.Amp()) * kPixelsPerGain;
    const int x0 = kBarX0[slot];
    display.SetBarRect(IBox{NearestInt(low) + x0, kBarTop, NearestInt(high) + x0, kBarBottom});
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
    std::lock_guard<std::recursive_mutex> guard(Lock());
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

// Length of the run of frames, from the start, whose samples on both channels are silent.
// Eight frames are checked at a time with two-lane compares; the rest one by one. A NaN
// counts as silent, as in the per-frame test.
int SilentRun(const double* left, const double* right, int frames, double silence)
{
    int n = 0;
#if defined(__SSE2__)
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128d limit = _mm_set1_pd(silence);
    for (; n + 8 <= frames; n += 8) {
        __m128d loud = _mm_setzero_pd();
        for (int k = 0; k < 8; k += 2) {
            loud = _mm_or_pd(loud, _mm_cmpgt_pd(_mm_andnot_pd(signBit, _mm_loadu_pd(left + n + k)), limit));
            loud = _mm_or_pd(loud, _mm_cmpgt_pd(_mm_andnot_pd(signBit, _mm_loadu_pd(right + n + k)), limit));
        }
        if (_mm_movemask_pd(loud))
            break;
    }
#endif
    while (n < frames && std::fabs(left[n]) <= silence && std::fabs(right[n]) <= silence)
        ++n;
    return n;
}

void CopyRun(const double* in, double* out, int frames)
{
    if (in != out)
        std::memmove(out, in, sizeof(double) * static_cast<size_t>(frames));
}

} // namespace

void CLS_VIBRASCEND::ProcessBlock(double** inputs, double** outputs, int frames)
{
    if (!started) {
        started = true;
        Reset();
    }
    const uint32_t now = ClockMs();
    if (resyncRequest || now - lastClock > kResyncPauseMs) {
        RealignLfos();
        resyncRequest = false;
    }
    const bool haveChannels = inputs && outputs && inputs[0] && inputs[1] && outputs[0] && outputs[1];
    if (haveChannels && frames > 0) {
        const double* inL = inputs[0];
        const double* inR = inputs[1];
        double* outL = outputs[0];
        double* outR = outputs[1];
        Lfo& lfo1 = lfos[0];
        Lfo& lfo2 = lfos[1];
        double prevLowL = 0.0;
        double prevLowR = 0.0;
        for (int i = 0; i < frames; ++i) {
            if (silentCount >= tailSamples && std::fabs(prevLowL) <= kSilence && std::fabs(prevLowR) <= kSilence) {
                const int run = SilentRun(inL + i, inR + i, frames - i, kSilence);
                if (run > 0) {
                    CopyRun(inL + i, outL + i, run);
                    CopyRun(inR + i, outR + i, run);
                    i += run - 1;
                    continue;
                }
            }
            // Read both inputs first: an output may share memory with an input.
            const double xL = inL[i];
            const double xR = inR[i];
            if (std::fabs(xL) > kSilence || std::fabs(xR) > kSilence || std::fabs(prevLowL) > kSilence ||
                std::fabs(prevLowR) > kSilence)
                silentCount = 0;
            if (silentCount < tailSamples) {
                const double lowL = filter.Run(memory[0], xL);
                const double lowR = filter.Run(memory[1], xR);
                if (lfo1.Active())
                    gains.Sweep(lfo1.TargetGain(), lfo1.Step());
                if (lfo2.Active())
                    gains.Sweep(lfo2.TargetGain(), lfo2.Step());
                outL[i] = (xL - lowL) * gains.highMul + lowL * gains.lowMul;
                outR[i] = (xR - lowR) * gains.highMul + lowR * gains.lowMul;
                prevLowL = lowL;
                prevLowR = lowR;
                ++silentCount;
            } else {
                outL[i] = xL;
                outR[i] = xR;
            }
        }
    }
    lastClock = now;
}
