#include "controls/IDropDown.h"

#include "controls/IDropDownChild.h"
#include "framework/IEditHost.h"
#include "controls/IGraphics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace {

// Nearest integer, halves away from zero, saturated to the int range (NaN counts as 0).
int Nearest(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = v < 0.0 ? v - 0.5 : v + 0.5;
    return static_cast<int>(std::clamp(r, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

int Saturate(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

IDropDown::IDropDown(IEditHost* host, int paramIdx, int x, int y, const IImage& faceBitmap, const IImage& listBitmap,
                     int columns, int placement)
    : IControl(host, paramIdx), faceBitmap(faceBitmap), listBitmap(listBitmap), columns(columns), placement(placement)
{
    const int h = FaceHeight();
    rect = IBox{x, Saturate(static_cast<long long>(y) - 1),
                Saturate(static_cast<long long>(x) + std::max(0, faceBitmap.W)),
                Saturate(static_cast<long long>(y) + h + 1)};
    targetRect = rect;
}

int IDropDown::FaceHeight() const
{
    const int frames = std::max(1, faceBitmap.N);
    return std::max(0, Nearest(static_cast<float>(faceBitmap.H) / static_cast<float>(frames)));
}

void IDropDown::ListOrigin(int& left, int& top) const
{
    const long long lw = std::max(0, listBitmap.W);
    const long long lh = std::max(0, listBitmap.H);
    const long long below = static_cast<long long>(rect.B) - 1;
    const long long above = static_cast<long long>(rect.T) - lh + 1;
    long long l = rect.L;
    long long t = below;
    switch (placement) {
    case kBelowLeft: break;
    case kBelowRight: l = static_cast<long long>(rect.R) - lw; break;
    case kAboveLeft: t = above; break;
    case kAboveRight:
        l = static_cast<long long>(rect.R) - lw;
        t = above;
        break;
    default: l = static_cast<long long>(rect.L) + Nearest((static_cast<double>(faceBitmap.W) - lw) * 0.5); break;
    }
    left = Saturate(l);
    top = Saturate(t);
}

void IDropDown::CloseList()
{
    if (created)
        list->Hide(true);
    shown = false;
}

void IDropDown::OnMouseDown(int, int, const IMouseState& mod)
{
    IGraphics* graphics = Graphics();
    // A press on the selector is never one that must keep a value menu from opening later.
    if (graphics)
        graphics->ClearPopupSlot();
    // The list hides itself when it makes a choice; its visibility is what counts.
    if (created)
        shown = !list->IsHidden();
    if (mod.R) {
        if (!noValueEntry)
            CloseList();
    } else if (shown) {
        CloseList();
    } else if (created) {
        list->Hide(false);
        shown = true;
    } else if (graphics) {
        int left = 0;
        int top = 0;
        ListOrigin(left, top);
        auto child = std::make_unique<IDropDownChild>(host, &value, left, top, listBitmap, columns);
        IDropDownChild* attached = child.get();
        if (graphics->AttachControl(std::move(child)) >= 0) {
            list = attached;
            created = true;
            shown = true;
        }
    }
    SetDirty(true);
}

bool IDropDown::DismissList()
{
    if (!created || list->IsHidden())
        return false;
    CloseList();
    return true;
}

void IDropDown::OnMouseWheel(int, int, const IMouseState&, int) {}

void IDropDown::SetValueFromParam(double v)
{
    const double before = value;
    IControl::SetValueFromParam(v);
    if (value != before) {
        // The plug-in already has this value: remember it as drawn so that Draw does not send
        // it back as if the user had chosen it.
        lastDrawnValue = value;
        if (created && shown)
            CloseList();
    }
}

bool IDropDown::Draw(IGraphics& graphics)
{
    const int frames = std::max(1, faceBitmap.N);
    const double v = std::clamp(std::isnan(value) ? 0.0 : value, 0.0, 1.0);
    const int frame = std::clamp(Nearest((frames - 1) * v) + 1, 1, frames);

    // A value the list wrote since the last frame is the user's choice: it goes to the plug-in
    // as one complete edit, and the list closes.
    if (created && value != lastDrawnValue) {
        redraw = true;
        if (host && paramIdx >= 0)
            host->BeginParamEdit(paramIdx);
        SetDirty(true);
        if (host && paramIdx >= 0)
            host->EndParamEdit(paramIdx);
        CloseList();
    }
    lastDrawnValue = value;

    const int h = FaceHeight();
    const IBox face{rect.L, Saturate(static_cast<long long>(rect.T) + 1),
                    Saturate(static_cast<long long>(rect.L) + std::max(0, faceBitmap.W)),
                    Saturate(static_cast<long long>(rect.T) + h)};
    graphics.DrawBitmapFrame(faceBitmap, face, frame, &blend, true);
    return true;
}
