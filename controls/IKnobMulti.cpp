#include "controls/IKnobMulti.h"

#include "controls/IGraphics.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Nearest integer, halves away from zero, kept within int.
int NearestInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    const double r = std::trunc(v >= 0.0 ? v + 0.5 : v - 0.5);
    return static_cast<int>(std::clamp(r, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

IKnobMulti::IKnobMulti(IEditHost* host, int paramIdx, int x, int y, const IImage& image, const ITextStyle& style,
                       int gap, double dragGearing, int width, int dragDirection)
    : IKnobControl(host, paramIdx, dragDirection, dragGearing), text(style), bitmap(image), centreX(x), textGap(gap)
{
    rect = KnobRect(x, y, image, width, style.size, gap);
    targetRect = rect;
}

int IKnobMulti::Frame() const
{
    const int frames = std::max(1, bitmap.N);
    return std::clamp(NearestInt((frames - 1) * value) + 1, 1, frames);
}

bool IKnobMulti::Draw(IGraphics& graphics)
{
    char label[kValueTextSize];
    if (text.size > 0 && FormatValueText(label, true)) {
        text.align = ITextStyle::kAlignCentre;
        graphics.DrawText(text, label, IBox{rect.L, rect.B - text.size, rect.R, rect.B});
    }
    const float half = static_cast<float>(bitmap.W / std::max(1, bitmap.N)) * 0.5f;
    const IBox frame{NearestInt(static_cast<double>(centreX - half)), rect.T,
                     NearestInt(static_cast<double>(centreX + half)), rect.B - textGap - text.size};
    // The strip's frames lie side by side.
    graphics.DrawBitmapFrame(bitmap, frame, Frame(), &blend, false);
    return true;
}
