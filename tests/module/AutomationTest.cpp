// Host automation heard where it falls and changes heard without clicks, through the VST3
// interfaces: a point's value is reached at its frame along the line from the block's start,
// lists switch exactly at their points, and steps while processing (a gain, the split
// frequency, bypass) move no faster than the signal itself does. The expected gains come from
// a model of the rule the README gives, written here on its own.
#include "ModuleFixture.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using namespace module_test;

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr ParamID kSplit = 0;
constexpr ParamID kHighGain = 3;
constexpr ParamID kOutGain = 4;
constexpr ParamID kLfo1Target = 5;
constexpr ParamID kLfo1Wave = 6;
constexpr ParamID kLfo1Freq = 7;
constexpr ParamID kLfo2Target = 9;

double GainNormalized(double db) { return (db + 64.0) / 70.0; }

// The linear gain the effect uses for a gain parameter at a normalized position: the plain value
// in dB rounded to tenths.
double GainOf(double normalized)
{
    const double db = std::min(-64.0 + 70.0 * normalized, 6.0);
    const double tenths = std::trunc(db * 10.0 + (db < 0 ? -0.5 : 0.5));
    return std::exp(tenths * 0.1 * std::numbers::ln10 / 20.0);
}

struct Point {
    int offset;
    double value;
};

// The model: a queue's value along its lines, and a gain frame by frame over runs of at most 32
// frames cut at every point, each run moving linearly from where the gain stands to the gain of
// the line's value at the run's end.
double LineAt(double start, const std::vector<Point>& points, int frame)
{
    int fromFrame = 0;
    double from = start;
    for (const Point& p : points) {
        if (frame < p.offset)
            return from + (p.value - from) * (static_cast<double>(frame - fromFrame) / (p.offset - fromFrame));
        fromFrame = p.offset;
        from = p.value;
    }
    return from;
}

std::vector<double> ModelGains(double startGain, double start, const std::vector<Point>& points, int frames)
{
    std::vector<double> gains;
    double now = startGain;
    for (int offset = 0; offset < frames;) {
        int next = frames;
        for (const Point& p : points)
            if (p.offset > offset) {
                next = std::min(next, p.offset);
                break;
            }
        const int n = std::min({32, frames - offset, next - offset});
        const double target = GainOf(LineAt(start, points, offset + n));
        const double step = (target - now) / n;
        for (int f = 0; f < n; ++f)
            gains.push_back(now + f * step);
        now = target;
        offset += n;
    }
    return gains;
}

// One 64-bit stereo process call over `left` and `right`, in place.
void Process(Instance& plug, std::vector<double>& left, std::vector<double>& right,
             vibrascend::host::ParameterChanges* changes = nullptr)
{
    double* channels[2] = {left.data(), right.data()};
    AudioBusBuffers bus{};
    bus.numChannels = 2;
    bus.channelBuffers64 = channels;
    ProcessData data{};
    data.symbolicSampleSize = kSample64;
    data.numSamples = static_cast<int32>(left.size());
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &bus;
    data.outputs = &bus;
    data.inputParameterChanges = changes;
    plug.Processor()->process(data);
}

// An instance with both LFOs off, processing, past its first block.
struct Plain {
    Instance plug;
    explicit Plain(bool lfoOn = false)
    {
        EXPECT_EQ(plug.Setup(kRate, kBlock, kSample64), kResultOk);
        plug.Automate(kLfo1Target, lfoOn ? 1.0 / 3.0 : 0.0);
        plug.Automate(kLfo2Target, 0.0);
        std::vector<double> l(kBlock, 0.5), r(kBlock, 0.5);
        Process(plug, l, r);
    }
};

// Gains per frame of a block of constant input with every band at 0 dB: output over input.
std::vector<double> MeasuredGains(Instance& plug, vibrascend::host::ParameterChanges& changes)
{
    std::vector<double> l(kBlock, 0.5), r(kBlock, 0.5);
    Process(plug, l, r, &changes);
    for (double& x : l)
        x /= 0.5;
    return l;
}

// A steady 100 Hz sine, `blocks` blocks of it from `phase` on.
struct Sine {
    double phase = 0.0;
    std::vector<double> Next()
    {
        std::vector<double> x(kBlock);
        for (double& v : x) {
            v = 0.5 * std::sin(phase);
            phase += 2.0 * std::numbers::pi * 100.0 / kRate;
        }
        return x;
    }
};

double LargestStep(const std::vector<double>& x, double& previous)
{
    double largest = 0.0;
    for (double v : x) {
        largest = std::max(largest, std::fabs(v - previous));
        previous = v;
    }
    return largest;
}

// The largest sample-to-sample step of the output over `blocks` blocks of the sine, the first
// with `changes`.
double LargestOutputStep(Instance& plug, Sine& sine, vibrascend::host::ParameterChanges& changes, int blocks,
                         double& previous)
{
    double largest = 0.0;
    for (int b = 0; b < blocks; ++b) {
        std::vector<double> l = sine.Next();
        std::vector<double> r = l;
        Process(plug, l, r, b == 0 ? &changes : nullptr);
        largest = std::max(largest, LargestStep(l, previous));
    }
    return largest;
}

}  // namespace

TEST(Automation, AGainPointIsReachedAtItsFrameAlongTheLine)
{
    Plain p;
    for (const int k : {0, 1, 31, 32, 33, 458, 511}) {
        const double target = GainNormalized(k % 2 ? -12.0 : 3.5);
        const double from = p.plug.Controller()->getParamNormalized(kOutGain);
        vibrascend::host::ParameterChanges changes;
        changes.Add(kOutGain, target, k);
        const std::vector<double> measured = MeasuredGains(p.plug, changes);
        if (k == 0)
            continue;  // a point at the block's start is a step, smoothed over 10 ms below
        const std::vector<double> model = ModelGains(GainOf(from), from, {{k, target}}, kBlock);
        for (int f = 0; f < kBlock; ++f)
            ASSERT_NEAR(measured[static_cast<size_t>(f)], model[static_cast<size_t>(f)], 1e-12) << k << " " << f;
        EXPECT_NEAR(measured[static_cast<size_t>(k)], GainOf(target), 1e-12) << k;
        // The block before frame 0 of a point is untouched: the gain starts where it stood.
        EXPECT_NEAR(measured[0], GainOf(from), 1e-12) << k;
    }
}

TEST(Automation, ATwoPointRampFollowsTheStraightLine)
{
    Plain p;
    const double from = p.plug.Controller()->getParamNormalized(kOutGain);
    const std::vector<Point> points{{100, GainNormalized(-20.0)}, {400, GainNormalized(2.0)}};
    vibrascend::host::ParameterChanges changes;
    for (const Point& pt : points)
        changes.Add(kOutGain, pt.value, pt.offset);
    const std::vector<double> measured = MeasuredGains(p.plug, changes);
    const std::vector<double> model = ModelGains(GainOf(from), from, points, kBlock);
    for (int f = 0; f < kBlock; ++f)
        ASSERT_NEAR(measured[static_cast<size_t>(f)], model[static_cast<size_t>(f)], 1e-12) << f;
    // Each point's gain at its frame, and on the way between them always between the two.
    for (const Point& pt : points)
        EXPECT_NEAR(measured[static_cast<size_t>(pt.offset)], GainOf(pt.value), 1e-12) << pt.offset;
    for (int f = 100; f <= 400; ++f) {
        EXPECT_GE(measured[static_cast<size_t>(f)], GainOf(points[0].value) - 1e-12) << f;
        EXPECT_LE(measured[static_cast<size_t>(f)], GainOf(points[1].value) + 1e-12) << f;
    }
    EXPECT_EQ(p.plug.Controller()->getParamNormalized(kOutGain), points.back().value);
}

TEST(Automation, AListPointSwitchesExactlyAtItsFrame)
{
    // LFO 1 sweeps the output at 50 Hz; its wave changes at frame 200 of a block, or at the start
    // of a second call that begins there: the same samples either way.
    Plain whole(true);
    Plain cut(true);
    for (Instance* plug : {&whole.plug, &cut.plug})
        plug->Automate(kLfo1Freq, 50.0 / 2000.0);
    Sine a, b;
    std::vector<double> l1 = a.Next(), r1 = l1;
    std::vector<double> l2 = b.Next(), r2 = l2;
    vibrascend::host::ParameterChanges atPoint;
    atPoint.Add(kLfo1Wave, 4.0 / 8.0, 200);
    Process(whole.plug, l1, r1, &atPoint);

    std::vector<double> head(l2.begin(), l2.begin() + 200), headR = head;
    std::vector<double> tail(l2.begin() + 200, l2.end()), tailR = tail;
    Process(cut.plug, head, headR);
    vibrascend::host::ParameterChanges atStart;
    atStart.Add(kLfo1Wave, 4.0 / 8.0, 0);
    Process(cut.plug, tail, tailR, &atStart);
    head.insert(head.end(), tail.begin(), tail.end());
    EXPECT_EQ(l1, head);
    // Before frame 200 nothing differs from the unchanged wave.
    Plain unchanged(true);
    unchanged.plug.Automate(kLfo1Freq, 50.0 / 2000.0);
    Sine c;
    std::vector<double> l3 = c.Next(), r3 = l3;
    Process(unchanged.plug, l3, r3);
    EXPECT_TRUE(std::equal(l3.begin(), l3.begin() + 200, l1.begin()));
    EXPECT_FALSE(std::equal(l3.begin() + 200, l3.end(), l1.begin() + 200));
}

TEST(Automation, StepsWhileProcessingMoveNoFasterThanTheSignal)
{
    Sine reference;
    double previous = 0.0;
    double steady = 0.0;
    for (int b = 0; b < 4; ++b)
        steady = std::max(steady, LargestStep(reference.Next(), previous));

    struct Case {
        const char* what;
        void (*prepare)(Instance&);
        ParamID id;
        double value;
    };
    const Case cases[] = {
        {"Out Gain 0 dB to -30 dB", [](Instance&) {}, kOutGain, GainNormalized(-30.0)},
        {"Split Freq 200 Hz to 10 kHz",
         [](Instance& plug) {
             plug.Automate(kHighGain, GainNormalized(-30.0));
             plug.Automate(kSplit, std::sqrt((200.0 - 20.0) / 19980.0));
         },
         kSplit, std::sqrt((10000.0 - 20.0) / 19980.0)},
        {"bypass on", [](Instance& plug) { plug.Automate(kOutGain, GainNormalized(-30.0)); }, kBypass, 1.0},
    };
    for (const Case& c : cases) {
        Plain p;
        c.prepare(p.plug);
        Sine sine;
        double last = 0.0;
        vibrascend::host::ParameterChanges none;
        LargestOutputStep(p.plug, sine, none, 4, last);  // settled on the prepared settings
        vibrascend::host::ParameterChanges step;
        step.Add(c.id, c.value, 0);
        const double during = LargestOutputStep(p.plug, sine, step, 4, last);
        EXPECT_LE(during, 2.0 * steady) << c.what;
    }
}

TEST(Automation, NothingMovesBeforeTheFirstBlockIsProcessed)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(kRate, kBlock, kSample64), kResultOk);
    vibrascend::host::ParameterChanges first;
    first.Add(kLfo1Target, 0.0);
    first.Add(kOutGain, GainNormalized(-30.0));
    std::vector<double> l(kBlock, 0.5), r(kBlock, 0.5);
    Process(plug, l, r, &first);
    EXPECT_NEAR(l[0] / 0.5, GainOf(GainNormalized(-30.0)), 1e-12);

    // After a reset of processing the first block takes its changes at once again.
    ASSERT_EQ(plug.Setup(kRate, kBlock, kSample64), kResultOk);
    vibrascend::host::ParameterChanges again;
    again.Add(kOutGain, GainNormalized(0.0));
    std::fill(l.begin(), l.end(), 0.5);
    std::fill(r.begin(), r.end(), 0.5);
    Process(plug, l, r, &again);
    EXPECT_NEAR(l[0] / 0.5, 1.0, 1e-12);
}

TEST(Automation, AStepWhileProcessingTakesTenMilliseconds)
{
    Plain p;
    vibrascend::host::ParameterChanges step;
    step.Add(kOutGain, GainNormalized(-30.0), 0);
    const std::vector<double> measured = MeasuredGains(p.plug, step);
    const int frames = static_cast<int>(0.01 * kRate + 0.5);
    // Linear in linear gain from 1 to the new gain over 480 frames, then held.
    const double target = GainOf(GainNormalized(-30.0));
    for (int f = 0; f < kBlock; ++f) {
        const double expected = f < frames ? 1.0 + f * ((target - 1.0) / frames) : target;
        ASSERT_NEAR(measured[static_cast<size_t>(f)], expected, 1e-12) << f;
    }
}
