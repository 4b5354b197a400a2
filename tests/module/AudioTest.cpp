#include "ModuleFixture.h"

#include <cmath>
#include <random>

using namespace module_test;

namespace {

// A straightforward computation of the effect with LFO 1 sweeping "Out Gain" with "Sine" and LFO
// 2 off: a direct-form bilinear low-pass splits each channel, and the swept gain weights both
// bands. After one second (the sample rate in frames) without a sample or a low-band output above
// 1e-11 the frames are copied, and the filter and the LFO stand still until a louder frame comes;
// the previous low-band output counts only within a host block of `block` frames.
struct Reference {
    double rate;
    int splitHz = 1000;
    int damping = 50;
    double lowDb = 0, highDb = 0, outDb = 0;
    double lfoHz = 4.0;
    int depth = 30;
    bool lfoOn = true;
    int block = 512;

    std::vector<std::vector<double>> Run(const std::vector<std::vector<double>>& in) const
    {
        const double pi = 3.141592653589793;
        const float e = static_cast<float>(damping) * 0.01f;
        const float c = 6.0f - (2.0f * e - e * e) * 5.96f;
        const double k = 1.0 / std::tan(std::min(static_cast<double>(splitHz), 0.49 * rate) * pi / rate);
        const double a0 = 1.0 / ((c + k) * k + 1.0);
        const double b1 = 2.0 * (1.0 - k * k) * a0;
        const double b2 = ((k - c) * k + 1.0) * a0;
        const auto lin = [](double db) { return std::exp(std::round(db * 10.0) * 0.1 * 0.11512925464970228); };
        const double low = lin(lowDb), high = lin(highDb), out = lin(outDb);

        const float amp = static_cast<float>(depth) * 0.01f * 1.9946691f * 0.5f;
        const float upper = 1.9953f - amp;
        const float base = static_cast<float>(out);
        const float m = base < upper ? base : upper;
        const float centre = amp + 0.000631f > m ? amp + 0.000631f : m;
        const double inc = static_cast<double>(static_cast<float>(std::lround(lfoHz * 100) * 0.01f)) * 2.0 * pi / rate;
        const long tail = std::lround(rate);

        struct Memory {
            double x1 = 0, x2 = 0, y1 = 0, y2 = 0, lastLow = 0;
        };
        std::vector<Memory> memory(in.size());
        std::vector<std::vector<double>> result = in;
        double phase = 0;
        long silent = 0;
        const size_t frames = in.empty() ? 0 : in[0].size();
        for (size_t i = 0; i < frames; ++i) {
            const bool blockStart = i % static_cast<size_t>(block) == 0;
            bool loud = false;
            for (size_t ch = 0; ch < in.size(); ++ch) {
                if (blockStart)
                    memory[ch].lastLow = 0;
                loud = loud || std::fabs(in[ch][i]) > 1e-11 || std::fabs(memory[ch].lastLow) > 1e-11;
            }
            if (loud)
                silent = 0;
            if (silent >= tail)
                continue;
            double gain = out;
            if (lfoOn) {
                gain = static_cast<double>(amp) * std::sin(phase) + static_cast<double>(centre);
                phase += inc;
                if (phase >= 2 * pi)
                    phase -= 2 * pi;
            }
            for (size_t ch = 0; ch < in.size(); ++ch) {
                Memory& f = memory[ch];
                const double x = in[ch][i];
                const double y = a0 * (x + 2 * f.x1 + f.x2) - b1 * f.y1 - b2 * f.y2;
                f.x2 = f.x1, f.x1 = x, f.y2 = f.y1, f.y1 = y, f.lastLow = y;
                result[ch][i] = (x - y) * gain * high + y * gain * low;
            }
            ++silent;
        }
        return result;
    }
};

std::vector<std::vector<double>> Noise(int channels, int frames, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-0.5, 0.5);
    std::vector<std::vector<double>> audio(static_cast<size_t>(channels),
                                           std::vector<double>(static_cast<size_t>(frames)));
    for (auto& ch : audio)
        for (double& s : ch)
            s = dist(gen);
    return audio;
}

// Sets the reference's parameters through the processor and turns "LFO1 Wave" to "Sine".
void Configure(Instance& plug, const Reference& ref)
{
    plug.Automate(0, plug.NormalizedOf(0, ref.splitHz));
    plug.Automate(1, plug.NormalizedOf(1, ref.damping));
    plug.Automate(2, plug.NormalizedOf(2, ref.lowDb));
    plug.Automate(3, plug.NormalizedOf(3, ref.highDb));
    plug.Automate(4, plug.NormalizedOf(4, ref.outDb));
    plug.Automate(5, ref.lfoOn ? 1.0 / 3.0 : 0.0);
    plug.Automate(6, 0.0);
    plug.Automate(7, plug.NormalizedOf(7, ref.lfoHz));
    plug.Automate(8, plug.NormalizedOf(8, ref.depth));
}

double MaxError(const std::vector<std::vector<double>>& a, const std::vector<std::vector<double>>& b)
{
    double worst = 0;
    for (size_t c = 0; c < a.size(); ++c)
        for (size_t i = 0; i < a[c].size(); ++i)
            worst = std::max(worst, std::fabs(a[c][i] - b[c][i]));
    return worst;
}

// The largest difference as a share of the expected signal's peak.
double RelativeError(const std::vector<std::vector<double>>& actual, const std::vector<std::vector<double>>& expected)
{
    double peak = 0;
    for (const auto& ch : expected)
        for (double s : ch)
            peak = std::max(peak, std::fabs(s));
    return MaxError(actual, expected) / peak;
}

std::vector<std::vector<double>> Joined(std::initializer_list<std::vector<std::vector<double>>> pieces)
{
    std::vector<std::vector<double>> all(pieces.begin()->size());
    for (const auto& piece : pieces)
        for (size_t c = 0; c < all.size(); ++c)
            all[c].insert(all[c].end(), piece[c].begin(), piece[c].end());
    return all;
}

}  // namespace

TEST(Audio, SixtyFourBitStereoMatchesReference)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample64), kResultOk);
    Reference ref{44100};
    ref.splitHz = 800, ref.damping = 80, ref.lowDb = 3.2, ref.highDb = -12.5, ref.outDb = -1, ref.lfoHz = 7.83,
    ref.depth = 60;
    Configure(plug, ref);
    auto audio = Noise(2, 20000, 1);
    const auto expected = ref.Run(audio);
    plug.Run64(audio, 512);
    EXPECT_LT(RelativeError(audio, expected), 1e-12);
}

TEST(Audio, ThirtyTwoBitIsTheDoubleResultRounded)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(48000, 256, kSample32), kResultOk);
    Reference ref{48000};
    ref.splitHz = 2500, ref.lfoHz = 0.5, ref.block = 256;
    Configure(plug, ref);
    auto noise = Noise(2, 9000, 2);
    std::vector<std::vector<float>> audio(2);
    for (int c = 0; c < 2; ++c)
        for (double s : noise[static_cast<size_t>(c)])
            audio[static_cast<size_t>(c)].push_back(static_cast<float>(s));
    std::vector<std::vector<double>> widened(2);
    for (int c = 0; c < 2; ++c)
        for (float s : audio[static_cast<size_t>(c)])
            widened[static_cast<size_t>(c)].push_back(s);
    const auto expected = ref.Run(widened);
    plug.Run32(audio, 256);
    // Each sample is the double result rounded to float: within half a float step of the exact
    // value, plus the double path's own error.
    double peak = 0;
    for (const auto& ch : expected)
        for (double s : ch)
            peak = std::max(peak, std::fabs(s));
    for (int c = 0; c < 2; ++c)
        for (size_t i = 0; i < audio[0].size(); ++i) {
            const double want = expected[static_cast<size_t>(c)][i];
            ASSERT_LE(std::fabs(audio[static_cast<size_t>(c)][i] - want),
                      std::ldexp(std::fabs(want), -24) + 1e-12 * peak)
                << "channel " << c << " frame " << i;
        }
}

TEST(Audio, ANewSampleRateReappliesTheRateDependentSettingsAndTheTail)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample64), kResultOk);
    Reference ref{44100};
    ref.splitHz = 3000, ref.damping = 70, ref.lfoHz = 11, ref.depth = 80;
    Configure(plug, ref);
    // Noise, then long enough a silence for the filter to die away and the copying to start.
    auto before = Joined({Noise(2, 6000, 7), std::vector<std::vector<double>>(2, std::vector<double>(100000))});
    const auto expectedBefore = ref.Run(before);
    plug.Run64(before, 512);
    EXPECT_LT(RelativeError(before, expectedBefore), 1e-12);

    // The host stops, announces 48 kHz and starts again; no parameter changes.
    plug.Processor()->setProcessing(false);
    plug.Component()->setActive(false);
    ASSERT_EQ(plug.Setup(48000, 512, kSample64), kResultOk);
    // A silence between 44100 and 48000 frames long keeps processing (and the LFO turning) only
    // with the new rate's one-second tail; the split frequency and the LFO rate are the new
    // rate's too.
    ref.rate = 48000;
    auto after =
        Joined({Noise(2, 5000, 8), std::vector<std::vector<double>>(2, std::vector<double>(46000)), Noise(2, 5000, 9)});
    const auto expectedAfter = ref.Run(after);
    plug.Run64(after, 512);
    EXPECT_LT(RelativeError(after, expectedAfter), 1e-12);
}

TEST(Audio, MonoLayoutProcessesTheOneChannel)
{
    Instance plug;
    SpeakerArrangement mono = SpeakerArr::kMono;
    ASSERT_EQ(plug.Processor()->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    ASSERT_EQ(plug.Setup(44100, 1024, kSample64), kResultOk);
    Reference ref{44100};
    ref.lfoOn = false, ref.lowDb = -64, ref.highDb = 6, ref.block = 1024;
    Configure(plug, ref);
    auto audio = Noise(1, 5000, 3);
    const auto expected = ref.Run(audio);
    plug.Run64(audio, 1024);
    EXPECT_LT(RelativeError(audio, expected), 1e-12);
}

TEST(Audio, BlockSizesDoNotChangeTheResult)
{
    auto reference = Noise(2, 30000, 4);
    {
        Instance plug;
        ASSERT_EQ(plug.Setup(44100, 8192, kSample64), kResultOk);
        plug.Run64(reference, 8192);
    }
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 8192, kSample64), kResultOk);
    auto audio = Noise(2, 30000, 4);
    std::mt19937 gen(9);
    std::uniform_int_distribution<int> size(1, 8192);
    const int total = static_cast<int>(audio[0].size());
    for (int offset = 0; offset < total;) {
        const int frames = std::min(size(gen), total - offset);
        std::vector<std::vector<double>> piece(2);
        for (int c = 0; c < 2; ++c)
            piece[static_cast<size_t>(c)].assign(audio[static_cast<size_t>(c)].begin() + offset,
                                                 audio[static_cast<size_t>(c)].begin() + offset + frames);
        plug.Run64(piece, frames);
        for (int c = 0; c < 2; ++c)
            std::copy(piece[static_cast<size_t>(c)].begin(), piece[static_cast<size_t>(c)].end(),
                      audio[static_cast<size_t>(c)].begin() + offset);
        offset += frames;
    }
    EXPECT_EQ(audio, reference);
}

TEST(Audio, HostBlocksLongerThanAnnouncedAreSafe)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 64, kSample32), kResultOk);
    std::vector<std::vector<float>> audio(2, std::vector<float>(5000, 0.25f));
    plug.Run32(audio, 5000);
    for (const auto& ch : audio)
        for (float s : ch)
            ASSERT_TRUE(std::isfinite(s) && std::fabs(s) < 4.0f);
}

TEST(Audio, StableAtEverySampleRate)
{
    for (double rate : {8000.0, 11025.0, 22050.0, 32000.0, 44100.0, 96000.0, 192000.0}) {
        Instance plug;
        ASSERT_EQ(plug.Setup(rate, 512, kSample64), kResultOk);
        plug.Automate(0, 1.0);  // 20 kHz, above half of the lower rates
        plug.Automate(1, 1.0);  // most resonant
        plug.Automate(11, 1.0);
        plug.Automate(9, 1.0);
        auto audio = Noise(2, static_cast<int>(rate / 2), 5);
        plug.Run64(audio, 512);
        double peak = 0;
        for (const auto& ch : audio)
            for (double s : ch) {
                ASSERT_TRUE(std::isfinite(s)) << rate;
                peak = std::max(peak, std::fabs(s));
            }
        EXPECT_LT(peak, 200.0) << rate;
    }
}

TEST(Audio, BypassCopiesInputToOutput)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample64), kResultOk);
    plug.Controller()->setParamNormalized(kBypass, 1.0);
    EXPECT_EQ(plug.Controller()->getParamNormalized(kBypass), 1.0);
    vibrascend::host::ParameterChanges bypass;
    bypass.Add(kBypass, 1.0);
    auto audio = Noise(2, 3000, 6);
    const auto input = audio;
    plug.Run64(audio, 512, &bypass);
    EXPECT_EQ(audio, input);
    vibrascend::host::ParameterChanges resume;
    resume.Add(kBypass, 0.0);
    plug.Run64(audio, 512, &resume);
    EXPECT_NE(audio, input);
}
