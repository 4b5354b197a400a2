#include "framework/IParamDef.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

void CopyFixedText(char* dst, int size, const char* src)
{
    if (size <= 0)
        return;
    const size_t length = src ? strnlen(src, static_cast<size_t>(size - 1)) : 0;
    if (length)
        std::memcpy(dst, src, length);
    dst[length] = '\0';
}

void IParamDef::DefineDouble(const char* newName, double def, double newMin, double newMax, double newStep,
                             const char* newLabel)
{
    if (kind == kParamNone)
        kind = kParamDouble;
    CopyFixedText(name, kParamTextSize, newName);
    CopyFixedText(label, kParamTextSize, newLabel);
    min = newMin;
    value.store(def, std::memory_order_relaxed);
    defaultValue = def;
    step = newStep;
    max = std::max(newMax, newMin + newStep);
    precision = 0;
    for (double s = newStep; s != std::floor(s) && precision < 6; s *= 10.0)
        ++precision;
}

void IParamDef::DefineInt(const char* newName, int def, int newMin, int newMax, const char* newLabel)
{
    if (kind == kParamNone)
        kind = kParamInt;
    DefineDouble(newName, def, newMin, newMax, 1.0, newLabel);
}

void IParamDef::DefineEnum(const char* newName, int def, int count, const char* newLabel)
{
    if (kind == kParamNone)
        kind = kParamEnum;
    DefineDouble(newName, def, 0.0, count - 1, 1.0, newLabel);
}

void IParamDef::SetCurve(double newShape)
{
    if (newShape != 0.0)
        shape = newShape;
}

void IParamDef::AddValueText(int textValue, const char* text)
{
    ParamValueText entry{textValue, {}};
    CopyFixedText(entry.text, kParamTextSize, text);
    valueTexts.push_back(entry);
}

void IParamDef::SetGroup(const char* newGroup) { CopyFixedText(group, kParamTextSize, newGroup); }

void IParamDef::SetValueClamped(double plain)
{
    if (std::isfinite(plain))
        value.store(std::clamp(plain, min, max), std::memory_order_relaxed);
}

double IParamDef::Conform(double plain) const
{
    double v = std::clamp(plain, min, max);
    if (kind != kParamDouble)
        v = std::clamp(std::floor(v / step + 0.5) * step, min, max);
    return v;
}

// x to the power of a curve. The linear and square curves (and the square's inverse) are computed
// exactly, so that every C runtime maps them to the same values; other powers are the C library's.
static double CurvePower(double x, double power)
{
    if (power == 1.0)
        return x;
    if (power == 2.0)
        return x * x;
    if (power == 0.5)
        return std::sqrt(x);
    return std::pow(x, power);
}

double IParamDef::ToNormalized(double plain) const
{
    const double x = std::isnan(plain) ? min : std::clamp(plain, min, max);
    return CurvePower((x - min) / (max - min), 1.0 / shape);
}

double IParamDef::FromNormalized(double normalized) const { return CurvePower(normalized, shape) * (max - min) + min; }

void IParamDef::SetFromNormalized(double normalized)
{
    if (!std::isfinite(normalized))
        return;
    double v = FromNormalized(std::clamp(normalized, 0.0, 1.0));
    if (kind != kParamDouble)
        v = std::floor(v / step + 0.5) * step;
    value.store(std::min(v, max), std::memory_order_relaxed);
}

static long long NearestInteger(double v)
{
    const double r = v < 0.0 ? v - 0.5 : v + 0.5;
    if (!(std::fabs(r) < 9.0e18))
        return 0;
    return static_cast<long long>(r);
}

void IParamDef::FormatValue(double shown, bool isNormalized, char* out) const
{
    if (isNormalized)
        shown = FromNormalized(shown);
    const long long r = NearestInteger(shown);
    for (const ParamValueText& entry : valueTexts) {
        if (entry.value != r)
            continue;
        if (entry.text[0]) {
            CopyFixedText(out, kParamTextSize, entry.text);
            return;
        }
        break;
    }
    if (shown == 0.0)
        std::snprintf(out, kParamTextSize, "0");
    else if (precision == 0)
        std::snprintf(out, kParamTextSize, "%lld", r);
    else
        std::snprintf(out, kParamTextSize, "%.*f", precision, shown);
}

const char* IParamDef::ValueText(int textValue) const
{
    for (const ParamValueText& entry : valueTexts)
        if (entry.value == textValue)
            return entry.text;
    return "";
}

bool IParamDef::ValueFromText(const char* text, int* valueOut) const
{
    if (!text)
        return false;
    for (const ParamValueText& entry : valueTexts) {
        if (std::strcmp(entry.text, text) == 0) {
            if (valueOut)
                *valueOut = entry.value;
            return true;
        }
    }
    return false;
}

const ParamValueText* IParamDef::ValueTextAt(int position) const
{
    if (position < 0 || position >= ValueTextCount())
        return nullptr;
    return &valueTexts[static_cast<size_t>(position)];
}
