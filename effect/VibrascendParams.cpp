#include "effect/VibrascendParams.h"

#include "framework/IFxBase.h"

namespace {

constexpr const char* kTargetTexts[] = {"No Assign", "Out Gain", "Low Gain", "High Gain"};
constexpr const char* kWaveTexts[] = {"Sine",     "Golden Sine", "Triangle",  "Golden Tri", "Saw",
                                      "Saw Flip", "Sine Half",   "Half Flip", "Golden Half"};

constexpr double kTenthsOfDb = 10.0;
constexpr double kHundredthsOfHz = 100.0;

constexpr VibrascendParamRow Gain(VibrascendParam id, const char* name)
{
    return {id, name, kParamDouble, 0.0, -64.0, 6.0, 0.1, "dB", 1.0, {}, kTenthsOfDb};
}

constexpr VibrascendParamRow Target(VibrascendParam id, const char* name, double def)
{
    return {id, name, kParamEnum, def, 0.0, 3.0, 1.0, "", 1.0, kTargetTexts, 1.0};
}

constexpr VibrascendParamRow Wave(VibrascendParam id, const char* name)
{
    return {id, name, kParamEnum, 1.0, 0.0, 8.0, 1.0, "", 1.0, kWaveTexts, 1.0};
}

constexpr VibrascendParamRow LfoFreq(VibrascendParam id, const char* name)
{
    return {id, name, kParamDouble, 4.0, 0.01, 2000.0, 0.01, "Hz", 1.0, {}, kHundredthsOfHz, ParamMotion::Runs};
}

constexpr VibrascendParamRow Percent(VibrascendParam id, const char* name, double def)
{
    return {id, name, kParamInt, def, 0.0, 100.0, 1.0, "%", 1.0, {}, 1.0};
}

constexpr VibrascendParamRow kTable[] = {
    {kSplitFreq, "Split Freq", kParamInt, 1000.0, 20.0, 20000.0, 1.0, "Hz", 2.0, {}, 1.0, ParamMotion::Runs},
    {kDamping, "Damping", kParamInt, 50.0, 0.0, 100.0, 1.0, "%", 1.0, {}, 1.0, ParamMotion::Runs},
    Gain(kLowGain, "Low Gain"),
    Gain(kHighGain, "High Gain"),
    Gain(kOutGain, "Out Gain"),
    Target(kLfo1Target, "LFO1 Target", 1.0),
    LfoFreq(kLfo1Freq, "LFO1 Freq"),
    Wave(kLfo1Wave, "LFO1 Wave"),
    Percent(kLfo1Depth, "LFO1 Depth", 30.0),
    Target(kLfo2Target, "LFO2 Target", 0.0),
    LfoFreq(kLfo2Freq, "LFO2 Freq"),
    Wave(kLfo2Wave, "LFO2 Wave"),
    Percent(kLfo2Depth, "LFO2 Depth", 30.0),
};

static_assert(std::size(kTable) == kNumVibrascendParams);

void Define(IParamDef& p, const VibrascendParamRow& row)
{
    switch (row.kind) {
    case kParamEnum:
        p.DefineEnum(row.name, static_cast<int>(row.def), static_cast<int>(row.texts.size()), row.unit);
        for (size_t v = 0; v < row.texts.size(); ++v)
            p.AddValueText(static_cast<int>(v), row.texts[v]);
        break;
    case kParamInt:
        p.DefineInt(row.name, static_cast<int>(row.def), static_cast<int>(row.min), static_cast<int>(row.max),
                    row.unit);
        break;
    default: p.DefineDouble(row.name, row.def, row.min, row.max, row.step, row.unit); break;
    }
    if (row.curve != 1.0)
        p.SetCurve(row.curve);
    p.SetMotion(row.motion);
}

}  // namespace

std::span<const VibrascendParamRow> VibrascendParamTable() { return kTable; }

const VibrascendParamRow* VibrascendParamRowOf(int id)
{
    // Position of each id's row in the table, worked out once at compile time.
    static constexpr std::array<int, kNumVibrascendParams> kRowOfId = [] {
        std::array<int, kNumVibrascendParams> rows{};
        for (int position = 0; position < kNumVibrascendParams; ++position)
            rows[static_cast<size_t>(kTable[position].id)] = position;
        return rows;
    }();
    if (id < 0 || id >= kNumVibrascendParams)
        return nullptr;
    return &kTable[kRowOfId[static_cast<size_t>(id)]];
}

VibrascendValues VibrascendDefaults()
{
    VibrascendValues values{};
    for (const VibrascendParamRow& row : kTable)
        values[static_cast<size_t>(row.id)] = row.def;
    return values;
}

void DefineVibrascendParams(IFxBase& plugin)
{
    for (const VibrascendParamRow& row : kTable)
        if (IParamDef* p = plugin.GetParam(row.id))
            Define(*p, row);
}
