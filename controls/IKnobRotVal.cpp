#include "controls/IKnobRotVal.h"

#include "controls/IGraphics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

IKnobRotVal::IKnobRotVal(IEditHost* host, int paramIdx, int x, int y, const IImage& image, const ITextStyle& style,
                         int gap, int sweepDegrees, double dragGearing, int width, int dragDirection, float dim,
                         bool appendLabel, int positions)
    : IKnobControl(host, paramIdx, dragDirection, dragGearing), text(style), bitmap(image), centreX(x), centreY(y),
      textGap(gap), sweep(sweepDegrees), steps(static_cast<short>(std::clamp(positions, 0, SHRT_MAX + 1) - 1)),
      hoverDim(dim), showLabel(appendLabel)
{
    rect = KnobRect(x, y, image, width, style.size, gap);
    targetRect = rect;
}

void IKnobRotVal::OnMouseUp(int, int, const IMouseState&)
{
    if (steps > 0 && std::isfinite(value))
        value = std::floor(steps * value + 0.5) / steps;
    SetDirty(true);
}

void IKnobRotVal::OnMouseOver(int, int, const IMouseState&)
{
    if (!hovered) {
        hovered = true;
        SetDirty(false);
    }
}

void IKnobRotVal::OnMouseOut()
{
    hovered = false;
    SetDirty(false);
}

double IKnobRotVal::Angle() const
{
    const float a = static_cast<float>(sweep * std::numbers::pi / 360.0);
    const float b = static_cast<float>(-sweep * std::numbers::pi / 360.0);
    return a * (2.0 * value) + b;
}

bool IKnobRotVal::Draw(IGraphics& graphics)
{
    char label[kValueTextSize];
    if (text.size > 0 && FormatValueText(label, showLabel)) {
        text.align = ITextStyle::kAlignCentre;
        const int shift = textGap < 0 ? textGap : 0;
        const IBox area{rect.L, rect.B - text.size + shift, rect.R, rect.B + shift};
        graphics.DrawText(text, label, area);
    }
    drawBlend = IBlend{IBlend::kSourceAlpha, hovered ? 1.0f - hoverDim : 1.0f};
    // The image is sampled up to one pixel up-left of its origin as it turns away from upright.
    const float offset = static_cast<float>(-2.0 * std::fabs(value - 0.5));
    graphics.DrawRotatedBitmap(bitmap, centreX, centreY, Angle(), &drawBlend, offset, offset);
    return true;
}
