#include "framework/vst3/IFxParameter.h"

#include "pluginterfaces/base/ustring.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void Widen(const char* text, String128 out)
{
    UString128 wide("");
    wide.fromAscii(text);
    wide.copyTo(out, 128);
}

}  // namespace

IFxParameter::IFxParameter(const IParamDef& def, int index, UnitID unitId) : definition(def)
{
    info.id = static_cast<ParamID>(index);
    Widen(def.Name(), info.title);
    info.shortTitle[0] = 0;
    Widen(def.Label(), info.units);
    info.stepCount = def.Kind() == kParamDouble ? 0 : static_cast<int32>(def.Max() - def.Min());
    info.defaultNormalizedValue = std::pow((def.Default() - def.Min()) / (def.Max() - def.Min()), 1.0 / def.Shape());
    valueNormalized = info.defaultNormalizedValue;
    info.unitId = unitId;
    info.flags = def.Automatable() ? ParameterInfo::kCanAutomate : 0;
    precision = def.Precision();
}

void IFxParameter::toString(ParamValue normalized, String128 string) const
{
    char text[kParamTextSize];
    definition.FormatValue(std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0), true, text);
    Widen(text, string);
}

bool IFxParameter::fromString(const TChar* string, ParamValue& normalized) const
{
    char text[129] = {};
    if (string)
        UString(const_cast<TChar*>(string), 128).toAscii(text, sizeof text);
    const double plain = std::strtod(text, nullptr);
    normalized = definition.ToNormalized(std::isfinite(plain) ? plain : 0.0);
    return true;
}

ParamValue IFxParameter::toPlain(ParamValue normalized) const
{
    return definition.FromNormalized(std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0));
}

ParamValue IFxParameter::toNormalized(ParamValue plain) const { return definition.ToNormalized(plain); }
