#include "controls/IKnobControl.h"

#include "framework/IParamDef.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

// Nearest integer of a single-precision value, halves away from zero.
long long NearestHalfAway(float v) { return static_cast<long long>(v >= 0.0f ? v + 0.5f : v - 0.5f); }

int ToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

IKnobControl::IKnobControl(IEditHost* host, int paramIdx, int dragDirection, double dragGearing)
    : IControl(host, paramIdx), direction(dragDirection), gearing(dragGearing)
{
}

void IKnobControl::OnMouseDrag(int, int, int dX, int dY, const IMouseState& mod)
{
    double g = gearing;
    if (mod.C || mod.S)
        g *= 10.0;
    const long long extent =
        direction == 0 ? static_cast<long long>(rect.T) - rect.B : static_cast<long long>(rect.R) - rect.L;
    // A knob without extent or gearing cannot turn a movement into a value.
    if (extent == 0 || g == 0.0 || !std::isfinite(g))
        return;
    const int delta = direction == 0 ? dY : dX;
    value += static_cast<double>(delta) / static_cast<double>(extent) / g;
    SetDirty(true);
}

IBox IKnobControl::KnobRect(int x, int y, const IImage& bitmap, int width, int textSize, int textGap)
{
    const long long halfH = NearestHalfAway(static_cast<float>(bitmap.H) * 0.5f);
    const int frames = std::max(1, bitmap.N);
    const long long halfW = width != 0 ? width / 2 : NearestHalfAway(static_cast<float>(bitmap.W / frames) * 0.5f);
    long long bottom = static_cast<long long>(y) + halfH;
    if (textGap >= 0)
        bottom += static_cast<long long>(textSize) + textGap;
    return IBox{ToInt(static_cast<long long>(x) - halfW), ToInt(static_cast<long long>(y) - halfH),
                ToInt(static_cast<long long>(x) + halfW), ToInt(bottom)};
}

bool IKnobControl::FormatValueText(char* out, bool appendLabel) const
{
    static_assert(kValueTextSize >= kParamTextSize, "the display text must fit the value text buffer");
    out[0] = '\0';
    const IParamDef* param = Param();
    if (!param)
        return false;
    param->FormatValue(param->Value(), false, out);
    out[kValueTextSize - 1] = '\0';
    if (!out[0])
        return false;
    if (appendLabel) {
        const std::size_t used = std::strlen(out);
        const std::size_t room = kValueTextSize - 1 - used;
        const char* label = param->Label();
        const std::size_t n = std::min(room, strnlen(label, kParamTextSize));
        std::memcpy(out + used, label, n);
        out[used + n] = '\0';
    }
    return true;
}
