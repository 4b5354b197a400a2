// The LV2 binding as hosts drive it: with no features at all, bad rates, blocks of 0 and 1
// frames, ports left unconnected, control values that are not numbers or out of range; run()
// allocates nothing and takes no lock.
#include "AllocationCounter.h"
#include "FormatRender.h"
#include "LockCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>

namespace lv2_test {
namespace {

constexpr uint32_t kBlock = 512;

// Runs `input` through `plugin` (already activated) in 512-frame blocks; `before(k)` runs before
// block k.
template <class Before>
Stereo RunBlocks(Lv2Plugin& plugin, const Stereo& input, Before&& before)
{
    Stereo out{std::vector<float>(input.Frames()), std::vector<float>(input.Frames())};
    for (size_t offset = 0, k = 0; offset < input.Frames(); offset += kBlock, ++k) {
        before(k);
        const auto frames = static_cast<uint32_t>(std::min<size_t>(kBlock, input.Frames() - offset));
        plugin.Run(input.left.data() + offset, input.right.data() + offset, out.left.data() + offset,
                   out.right.data() + offset, frames);
    }
    return out;
}

Stereo RunBlocks(Lv2Plugin& plugin, const Stereo& input)
{
    return RunBlocks(plugin, input, [](size_t) {});
}

bool Silent(const std::vector<float>& samples)
{
    for (float s : samples)
        if (s != 0.0f)
            return false;
    return true;
}

TEST(Lv2Binding, DescribesOnePluginWithTheStateInterface)
{
    const LV2_Descriptor* d = BuiltModule().Descriptor();
    EXPECT_STREQ(d->URI, VIBRASCEND_LV2_URI);
    EXPECT_NE(d->extension_data(LV2_STATE__interface), nullptr);
    EXPECT_EQ(d->extension_data("http://lv2plug.in/ns/ext/worker#interface"), nullptr);
    EXPECT_EQ(d->extension_data(nullptr), nullptr);
}

TEST(Lv2Binding, RefusesRatesThatAreNotPositiveFiniteNumbers)
{
    const LV2_Descriptor* d = BuiltModule().Descriptor();
    const LV2_Feature* none[] = {nullptr};
    for (double rate : {0.0, -48000.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(d->instantiate(d, rate, "", none), nullptr) << rate;
}

TEST(Lv2Binding, RunsWithoutAnyHostFeature)
{
    // No features array at all, and an empty one (as the command-line LV2 hosts offer): the
    // output equals that of a host offering urid:map and a block length.
    const Params defaults = Vst3Defaults();
    const Stereo input = Demo(0.5);
    Lv2Plugin withFeatures(kRate, {.map = true, .maxBlockLength = 4096}, defaults);
    withFeatures.Activate();
    const Stereo expected = RunBlocks(withFeatures, input);
    ASSERT_FALSE(Silent(expected.left));

    Lv2Plugin bare(kRate, {.map = false}, defaults);
    ASSERT_TRUE(bare.Valid());
    bare.Activate();
    EXPECT_EQ(Difference(RunBlocks(bare, input), expected), "identical");

    const LV2_Descriptor* d = BuiltModule().Descriptor();
    LV2_Handle h = d->instantiate(d, kRate, "", nullptr);
    ASSERT_NE(h, nullptr);
    std::array<float, kNumParams + 1> controls{};
    for (int p = 0; p < kNumParams; ++p)
        controls[static_cast<size_t>(p)] = static_cast<float>(defaults[static_cast<size_t>(p)]);
    controls[kNumParams] = 1.0f;
    for (uint32_t p = kFirstParamPort; p < kPortCount; ++p)
        d->connect_port(h, p, &controls[p - kFirstParamPort]);
    d->activate(h);
    Stereo out{std::vector<float>(input.Frames()), std::vector<float>(input.Frames())};
    d->connect_port(h, kInLeft, const_cast<float*>(input.left.data()));
    d->connect_port(h, kInRight, const_cast<float*>(input.right.data()));
    d->connect_port(h, kOutLeft, out.left.data());
    d->connect_port(h, kOutRight, out.right.data());
    for (size_t offset = 0; offset < input.Frames(); offset += kBlock) {
        d->connect_port(h, kInLeft, const_cast<float*>(input.left.data() + offset));
        d->connect_port(h, kInRight, const_cast<float*>(input.right.data() + offset));
        d->connect_port(h, kOutLeft, out.left.data() + offset);
        d->connect_port(h, kOutRight, out.right.data() + offset);
        d->run(h, static_cast<uint32_t>(std::min<size_t>(kBlock, input.Frames() - offset)));
    }
    d->deactivate(h);
    d->cleanup(h);
    EXPECT_EQ(Difference(out, expected), "identical");
}

TEST(Lv2Binding, BlocksOfZeroAndOneFrame)
{
    Lv2Plugin plugin(kRate, {}, Vst3Defaults());
    plugin.Activate();
    const Stereo input = Sines(0.01);
    std::vector<float> outL(4, 9.0f);
    std::vector<float> outR(4, 9.0f);
    plugin.Run(input.left.data(), input.right.data(), outL.data(), outR.data(), 0);
    EXPECT_EQ(outL[0], 9.0f);  // nothing written
    plugin.Run(nullptr, nullptr, nullptr, nullptr, 0);
    plugin.Run(input.left.data() + 100, input.right.data() + 100, outL.data(), outR.data(), 1);
    EXPECT_NE(outL[0], 9.0f);
    EXPECT_TRUE(std::isfinite(outL[0]) && std::isfinite(outR[0]));
    EXPECT_EQ(outL[1], 9.0f);  // one frame only
    plugin.Run(input.left.data() + 101, input.right.data() + 101, outL.data() + 1, outR.data() + 1, 0);
    EXPECT_EQ(outL[1], 9.0f);
}

TEST(Lv2Binding, UnconnectedAudioPortsReadSilenceAndWriteNothing)
{
    const Params settings = Vst3PresetValues(73);
    const Stereo input = Demo(0.5);
    const Stereo silence{std::vector<float>(input.Frames()), std::vector<float>(input.Frames())};

    // Every audio port unconnected: no crash.
    Lv2Plugin none(kRate, {}, settings);
    none.Activate();
    for (int k = 0; k < 4; ++k)
        none.Run(nullptr, nullptr, nullptr, nullptr, kBlock);

    // A missing left input is a silent left input.
    Stereo leftSilent = input;
    leftSilent.left = silence.left;
    Lv2Plugin reference(kRate, {}, settings);
    reference.Activate();
    const Stereo expected = RunBlocks(reference, leftSilent);
    Lv2Plugin missingIn(kRate, {}, settings);
    missingIn.Activate();
    Stereo out{std::vector<float>(input.Frames()), std::vector<float>(input.Frames())};
    for (size_t offset = 0; offset < input.Frames(); offset += kBlock) {
        const auto frames = static_cast<uint32_t>(std::min<size_t>(kBlock, input.Frames() - offset));
        missingIn.Run(nullptr, input.right.data() + offset, out.left.data() + offset, out.right.data() + offset,
                      frames);
    }
    EXPECT_EQ(Difference(out, expected), "identical");

    // A missing right output: the left one is as with both connected, the right buffer untouched.
    Lv2Plugin both(kRate, {}, settings);
    both.Activate();
    const Stereo full = RunBlocks(both, input);
    Lv2Plugin missingOut(kRate, {}, settings);
    missingOut.Activate();
    Stereo half{std::vector<float>(input.Frames()), std::vector<float>(input.Frames(), 7.0f)};
    for (size_t offset = 0; offset < input.Frames(); offset += kBlock) {
        const auto frames = static_cast<uint32_t>(std::min<size_t>(kBlock, input.Frames() - offset));
        missingOut.Run(input.left.data() + offset, input.right.data() + offset, half.left.data() + offset, nullptr,
                       frames);
    }
    EXPECT_EQ(half.left, full.left);
    EXPECT_EQ(half.right, std::vector<float>(input.Frames(), 7.0f));
}

TEST(Lv2Binding, UnconnectedControlPortsChangeNothing)
{
    // Control ports never connected: the parameters keep their values (the defaults), exactly as
    // with every port at its default.
    const Stereo input = Demo(0.5);
    Lv2Plugin atDefaults(kRate, {}, Vst3Defaults());
    atDefaults.Activate();
    const Stereo expected = RunBlocks(atDefaults, input);

    Lv2Plugin unconnected(kRate, {}, Vst3PresetValues(73));
    for (uint32_t p = kFirstParamPort; p < kPortCount; ++p)
        unconnected.Connect(p, nullptr);
    unconnected.Activate();
    EXPECT_EQ(Difference(RunBlocks(unconnected, input), expected), "identical");

    // A port disconnected later keeps the value it gave.
    Lv2Plugin steady(kRate, {}, Vst3PresetValues(73));
    steady.Activate();
    const Stereo preset = RunBlocks(steady, input);
    Lv2Plugin dropped(kRate, {}, Vst3PresetValues(73));
    dropped.Activate();
    const Stereo afterDrop = RunBlocks(dropped, input, [&dropped](size_t k) {
        if (k == 3)
            for (uint32_t p = kFirstParamPort; p < kPortCount; ++p)
                dropped.Connect(p, nullptr);
    });
    EXPECT_EQ(Difference(afterDrop, preset), "identical");
}

TEST(Lv2Binding, ControlValuesThatAreNotNumbersAreIgnored)
{
    const Stereo input = Noise(0.5);
    Lv2Plugin steady(kRate, {}, Vst3PresetValues(73));
    steady.Activate();
    const Stereo expected = RunBlocks(steady, input);
    for (float bad : {std::nanf(""), std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        Lv2Plugin plugin(kRate, {}, Vst3PresetValues(73));
        plugin.Activate();
        const Stereo out = RunBlocks(plugin, input, [&plugin, bad](size_t k) {
            if (k == 2)
                for (int p = 0; p < kNumParams; ++p)
                    plugin.Control(p) = bad;
            if (k == 2)
                plugin.Enabled() = bad;
        });
        EXPECT_EQ(Difference(out, expected), "identical") << bad;
    }
    // The first run does not take them either: the parameters stay at their values before.
    Lv2Plugin atDefaults(kRate, {}, Vst3Defaults());
    atDefaults.Activate();
    const Stereo defaults = RunBlocks(atDefaults, input);
    Lv2Plugin nanFirst(kRate, {}, Vst3Defaults());
    nanFirst.Control(4) = std::nanf("");
    nanFirst.Enabled() = std::nanf("");
    nanFirst.Activate();
    EXPECT_EQ(Difference(RunBlocks(nanFirst, input), defaults), "identical");
}

TEST(Lv2Binding, OutOfRangeControlValuesAreConformedLikeHostEdits)
{
    // Clamped into range and, for stepped parameters, rounded to a step: 1e9 Hz is 20000 Hz,
    // 50.4 % is 50 %, a target of 7.6 is the last, 3.
    Params conformed = Vst3Defaults();
    conformed[0] = 20000.0;
    conformed[1] = 50.0;
    conformed[5] = 3.0;
    conformed[4] = -64.0;
    Params raw = conformed;
    raw[0] = 1e9;
    raw[1] = 50.4;
    raw[5] = 7.6;
    raw[4] = -1e30;
    const Stereo input = Sines(0.5);
    Lv2Plugin expectedPlugin(kRate, {}, conformed);
    expectedPlugin.Activate();
    Lv2Plugin plugin(kRate, {}, raw);
    plugin.Activate();
    EXPECT_EQ(Difference(RunBlocks(plugin, input), RunBlocks(expectedPlugin, input)), "identical");
    const auto saved = plugin.Save();
    const auto expectedSaved = expectedPlugin.Save();
    EXPECT_EQ(saved.bytes, expectedSaved.bytes);
}

TEST(Lv2Binding, RunAllocatesNothingAndTakesNoLock)
{
    if (!allocation_counter::Available() || !lock_counter::Available())
        GTEST_SKIP() << "allocations and locks are counted in builds without sanitizers";
    Lv2Plugin plugin(kRate, {}, Vst3PresetValues(73));
    const Stereo input = Demo(0.2);
    Stereo out{std::vector<float>(input.Frames()), std::vector<float>(input.Frames())};
    const auto run = [&](uint32_t offset, uint32_t frames) {
        allocation_counter::Start();
        lock_counter::Start();
        plugin.Run(input.left.data() + offset, input.right.data() + offset, out.left.data() + offset,
                   out.right.data() + offset, frames);
        const long locks = lock_counter::Stop();
        const long allocations = allocation_counter::Stop();
        EXPECT_EQ(allocations, 0) << "at " << offset;
        EXPECT_EQ(locks, 0) << "at " << offset;
    };
    plugin.Activate();
    run(0, 512);  // the first run takes every port
    // A restored state waiting for the audio side, ports changed, bypass switched.
    const auto saved = plugin.Save();
    ASSERT_EQ(plugin.Restore(saved.bytes), LV2_STATE_SUCCESS);
    plugin.Control(0) = 3000.0f;
    plugin.Control(7) = 12.0f;
    plugin.Enabled() = 0.0f;
    run(512, 512);
    plugin.Enabled() = 1.0f;
    plugin.Control(5) = 0.0f;
    run(1024, 1);
    run(1025, 0);
    run(1025, 3000);
    // Longer than the piece size.
    run(0, static_cast<uint32_t>(input.Frames()));

    // The counters see what they must: a planted allocation and lock are counted.
    allocation_counter::Start();
    lock_counter::Start();
    void* volatile planted = std::malloc(16);
    std::free(planted);
    std::mutex m;
    m.lock();
    m.unlock();
    EXPECT_EQ(lock_counter::Stop(), 1);
    EXPECT_EQ(allocation_counter::Stop(), 1);
}

}  // namespace
}  // namespace lv2_test
