#include "FormatRender.h"

#include "DemoSignal.h"
#include "ParameterChanges.h"
#include "PluginInstance.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace lv2_test {

namespace {

using vibrascend::host::ParameterChanges;
using vibrascend::host::PluginInstance;

constexpr Steinberg::Vst::ParamID kVst3PresetList = 0x70727374;
constexpr Steinberg::Vst::ParamID kVst3Bypass = 0x62706173;

Params ParamsOfState(const std::vector<uint8_t>& state)
{
    Params values{};
    for (size_t i = 0; i < values.size() && (i + 1) * 8 <= state.size(); ++i) {
        uint64_t bits = 0;
        for (int b = 7; b >= 0; --b)
            bits = bits << 8 | state[i * 8 + static_cast<size_t>(b)];
        values[i] = std::bit_cast<double>(bits);
    }
    return values;
}

double AsPort(double plain) { return static_cast<double>(static_cast<float>(plain)); }

// Calls `block(k, offset, frames)` for each call of the plan until `total` frames are covered.
template <class Block>
void WalkPlan(const Plan& plan, size_t total, Block&& block)
{
    size_t offset = 0;
    for (size_t k = 0; offset < total || k == 0; ++k) {
        const auto frames = static_cast<uint32_t>(std::min<size_t>(plan.blocks[k % plan.blocks.size()], total - offset));
        block(k, offset, frames);
        offset += frames;
    }
}

}  // namespace

Stereo Sines(double seconds)
{
    Stereo s;
    const auto frames = static_cast<size_t>(seconds * kRate);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        s.left.push_back(static_cast<float>(0.4 * std::sin(2.0 * std::numbers::pi * 220.0 * t)));
        s.right.push_back(static_cast<float>(0.3 * std::sin(2.0 * std::numbers::pi * 331.0 * t + 0.5)));
    }
    return s;
}

Stereo Noise(double seconds)
{
    Stereo s;
    uint64_t state = 0x2545F4914F6CDD1Dull;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<float>(static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5);
    };
    const auto frames = static_cast<size_t>(seconds * kRate);
    for (size_t i = 0; i < frames; ++i) {
        s.left.push_back(next());
        s.right.push_back(next());
    }
    return s;
}

Stereo SilenceThenSines(double silentSeconds, double seconds)
{
    const auto silent = static_cast<size_t>(silentSeconds * kRate);
    Stereo s{std::vector<float>(silent, 0.0f), std::vector<float>(silent, 0.0f)};
    const Stereo tone = Sines(seconds);
    s.left.insert(s.left.end(), tone.left.begin(), tone.left.end());
    s.right.insert(s.right.end(), tone.right.begin(), tone.right.end());
    return s;
}

Stereo Demo(double seconds)
{
    vibrascend::host::DemoSignal demo(kRate, seconds);
    const auto frames = static_cast<size_t>(demo.TotalFrames());
    std::vector<double> left(frames);
    std::vector<double> right(frames);
    double* channels[] = {left.data(), right.data()};
    demo.Read(channels, frames);
    Stereo s;
    for (size_t i = 0; i < frames; ++i) {
        s.left.push_back(static_cast<float>(left[i]));
        s.right.push_back(static_cast<float>(right[i]));
    }
    return s;
}

Params Vst3Defaults()
{
    PluginInstance plugin(VIBRASCEND_VST3_BUNDLE, "lv2-test");
    return ParamsOfState(plugin.SaveState());
}

Params Vst3PresetValues(int slot)
{
    PluginInstance plugin(VIBRASCEND_VST3_BUNDLE, "lv2-test");
    const auto lists = plugin.ProgramLists();
    const auto count = lists.empty() ? 1 : lists[0].programNames.size();
    plugin.EditController()->setParamNormalized(kVst3PresetList, count > 1 ? slot / double(count - 1) : 0.0);
    return ParamsOfState(plugin.SaveState());
}

Stereo RenderVst3(const Stereo& input, const Params& settings, const Plan& plan, int maxBlock)
{
    PluginInstance plugin(VIBRASCEND_VST3_BUNDLE, "lv2-test");
    plugin.StartProcessing({kRate, maxBlock, 2, false});
    auto* controller = plugin.EditController();
    Stereo in = input;
    Stereo out{std::vector<float>(in.Frames()), std::vector<float>(in.Frames())};
    ParameterChanges changes;
    WalkPlan(plan, in.Frames(), [&](size_t k, size_t offset, uint32_t frames) {
        if (std::find(plan.restarts.begin(), plan.restarts.end(), k) != plan.restarts.end()) {
            plugin.StopProcessing();
            plugin.StartProcessing({kRate, maxBlock, 2, false});
        }
        for (const StateLoad& load : plan.states)
            if (load.block == k)
                plugin.LoadState(load.record);
        changes.Clear();
        if (k == 0)
            for (int p = 0; p < kNumParams; ++p)
                changes.Add(static_cast<Steinberg::Vst::ParamID>(p),
                            controller->plainParamToNormalized(p, AsPort(settings[static_cast<size_t>(p)])));
        for (const Change& c : plan.changes) {
            if (c.block != k)
                continue;
            if (c.param == kBypassChange)
                changes.Add(kVst3Bypass, c.plain != 0.0 ? 1.0 : 0.0);
            else
                changes.Add(static_cast<Steinberg::Vst::ParamID>(c.param),
                            controller->plainParamToNormalized(c.param, AsPort(c.plain)));
        }
        float* ins[] = {in.left.data() + offset, in.right.data() + offset};
        float* outs[] = {out.left.data() + offset, out.right.data() + offset};
        plugin.Process(ins, outs, static_cast<int>(frames), &changes);
    });
    plugin.StopProcessing();
    return out;
}

Stereo RenderLv2(const Stereo& input, const Params& settings, const Plan& plan, const HostFeatures& features)
{
    Lv2Plugin plugin(kRate, features, settings);
    if (!plugin.Valid())
        return {};
    plugin.Activate();
    Stereo out{std::vector<float>(input.Frames()), std::vector<float>(input.Frames())};
    WalkPlan(plan, input.Frames(), [&](size_t k, size_t offset, uint32_t frames) {
        if (std::find(plan.restarts.begin(), plan.restarts.end(), k) != plan.restarts.end()) {
            plugin.Deactivate();
            plugin.Activate();
        }
        for (const StateLoad& load : plan.states)
            if (load.block == k && plugin.Restore(load.record) != LV2_STATE_SUCCESS)
                return;
        for (const Change& c : plan.changes) {
            if (c.block != k)
                continue;
            if (c.param == kBypassChange)
                plugin.Enabled() = c.plain != 0.0 ? 0.0f : 1.0f;
            else
                plugin.Control(c.param) = static_cast<float>(c.plain);
        }
        plugin.Run(input.left.data() + offset, input.right.data() + offset, out.left.data() + offset,
                   out.right.data() + offset, frames);
    });
    return out;
}

std::string Difference(const Stereo& a, const Stereo& b)
{
    if (a.Frames() != b.Frames())
        return "lengths " + std::to_string(a.Frames()) + " and " + std::to_string(b.Frames());
    size_t count = 0;
    size_t first = 0;
    for (size_t i = 0; i < a.Frames(); ++i) {
        const bool differs = std::memcmp(&a.left[i], &b.left[i], sizeof(float)) != 0 ||
                             std::memcmp(&a.right[i], &b.right[i], sizeof(float)) != 0;
        if (differs && count++ == 0)
            first = i;
    }
    if (count == 0)
        return "identical";
    return std::to_string(count) + " frames differ, first at " + std::to_string(first) + " (" +
           std::to_string(a.left[first]) + " vs " + std::to_string(b.left[first]) + ")";
}

}  // namespace lv2_test
