#include "controls/IGraphics.h"

#include "controls/IBitmapControl.h"
#include "controls/IControl.h"
#include "framework/IParamDef.h"
#include "graphics/Arc.h"
#include "graphics/Blit.h"
#include "graphics/BlitRotated.h"
#include "graphics/FillRect.h"
#include "controls/ImageCache.h"
#include "graphics/Line.h"
#include "graphics/PIX_BitmapView.h"
#include "graphics/PIX_SysBitmap.h"
#include "graphics/RasterMode.h"
#include "graphics/TextDrawing.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Rounded rectangles are built from corner offsets in int arithmetic; coordinates and radii
// beyond this magnitude (far larger than any editor) are not drawn rather than overflowing.
constexpr int kMaxRoundRectCoordinate = 1 << 24;

bool WithinDrawingRange(const IBox& rect, int radius)
{
    const auto ok = [](int v) { return v > -kMaxRoundRectCoordinate && v < kMaxRoundRectCoordinate; };
    return ok(rect.L) && ok(rect.T) && ok(rect.R) && ok(rect.B) && ok(radius);
}

constexpr float kPi = 3.14159265f;

// Has a positive width and height (an inverted rectangle has no area either).
bool HasArea(const IBox& b) { return b.R > b.L && b.B > b.T; }

IBox Clip(const IBox& a, const IBox& b)
{
    if (!HasArea(a) || !HasArea(b))
        return IBox{};
    const IBox r = a.Intersect(b);
    return HasArea(r) ? r : IBox{};
}

// The raster mode word of a blend method: 1 copies opaquely, 2 adds, 3 dodges, anything else
// copies weighted by the source's alpha.
std::uint32_t ModeOf(const IBlend* blend)
{
    switch (blend ? blend->method : IBlend::kSourceAlpha) {
    case IBlend::kCopy: return pix::kOpCopy;
    case IBlend::kAdd: return pix::kUseAlpha | pix::kOpAdd;
    case IBlend::kDodge: return pix::kUseAlpha | pix::kOpDodge;
    default: return pix::kUseAlpha | pix::kOpCopy;
    }
}

float WeightOf(const IBlend* blend) { return blend ? blend->weight : 1.0f; }

float AlphaOf(const IArgb& colour) { return static_cast<float>(colour.A & 0xFF) / 255.0f; }

int ClampToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

IGraphics::IGraphics(IEditHost* host, int width, int height, int fps)
    : host(host), width(std::max(0, width)), height(std::max(0, height)), fps(fps > 0 ? fps : 24)
{
}

IGraphics::~IGraphics()
{
    frameClients.clear();
    while (!controls.empty())
        controls.pop_back();
    drawBitmap.reset();
}

// ---- Construction and set-up -------------------------------------------------------------------

int IGraphics::AttachControl(std::unique_ptr<IControl> control)
{
    if (!control)
        return -1;
    control->SetGraphics(this);
    controls.push_back(std::move(control));
    return NumControls() - 1;
}

void IGraphics::AttachBackground(int resourceId, const char* name)
{
    const IImage image = LoadBitmap(resourceId, name, 1);
    const IBox area{0, 0, image.W, image.H};
    auto background = std::make_unique<IBitmapControl>(host, area, image, IBlend{IBlend::kCopy, 1.0f}, true);
    background->SetGraphics(this);
    controls.insert(controls.begin(), std::move(background));
    ShiftIndexes(0, +1);
}

std::unique_ptr<IControl> IGraphics::RemoveControl(IControl* control)
{
    const int i = IndexOf(control);
    if (i < 0)
        return nullptr;
    std::unique_ptr<IControl> removed = std::move(controls[static_cast<size_t>(i)]);
    controls.erase(controls.begin() + i);
    ShiftIndexes(i, -1);
    if (popup == control)
        popup = nullptr;
    return removed;
}

IImage IGraphics::LoadBitmap(int resourceId, const char* name, int frameCount)
{
    PIX_IBitmap* bitmap =
        ImageCache::Instance().FindOrDecode(resourceId, [&] { return DecodeImage(resourceId, name); });
    if (!bitmap)
        return IImage{nullptr, 0, 0, std::max(1, frameCount), false};
    return IImage{bitmap, bitmap->GetWidth(), bitmap->GetHeight(), std::max(1, frameCount), false};
}

IImage IGraphics::FindCachedBitmap(int resourceId) const
{
    PIX_IBitmap* bitmap = ImageCache::Instance().Find(resourceId);
    if (!bitmap)
        return IImage{};
    return IImage{bitmap, bitmap->GetWidth(), bitmap->GetHeight(), 1, false};
}

void IGraphics::PrepareDrawing()
{
    drawBitmap = std::make_unique<PIX_SysBitmap>(width, height);
    shownSerials.assign(static_cast<size_t>(host ? std::max(host->ParamCount(), 0) : 0), 0);
    for (size_t i = 0; i < shownSerials.size(); ++i)
        shownSerials[i] = host->HostChangeSerial(static_cast<int>(i));
}

void IGraphics::UpdateFromHost()
{
    if (host)
        host->OnEditorFrame();
    for (size_t i = 0; i < shownSerials.size(); ++i) {
        const int index = static_cast<int>(i);
        const std::uint32_t serial = host->HostChangeSerial(index);
        if (serial == shownSerials[i])
            continue;
        shownSerials[i] = serial;
        PushParameterToControls(index, host->HostChangeValue(index), true);
    }
    for (const std::unique_ptr<IFrameClient>& client : frameClients)
        client->OnFrame();
}

void IGraphics::AddFrameClient(std::unique_ptr<IFrameClient> client)
{
    if (client)
        frameClients.push_back(std::move(client));
}

void IGraphics::PushParameterToControls(int paramIdx, double value, bool isNormalized)
{
    if (paramIdx < 0)
        return;
    if (!isNormalized) {
        const IParamDef* param = host ? host->ParamRecord(paramIdx) : nullptr;
        if (!param)
            return;
        value = param->ToNormalized(value);
    }
    if (!std::isfinite(value))
        return;
    for (const std::unique_ptr<IControl>& c : controls)
        if (c->ParamIdx() == paramIdx)
            c->SetValueFromParam(value);
}

void IGraphics::ApplyEnteredText(IControl* control, const IParamDef* param, const char* text)
{
    if (!control || !param || !text)
        return;
    double plain = 0.0;
    bool known = false;
    for (int i = 0; i < param->ValueTextCount() && !known; ++i) {
        const ParamValueText* entry = param->ValueTextAt(i);
        if (std::strcmp(entry->text, text) == 0) {
            plain = entry->value;
            known = true;
        }
    }
    if (!known) {
        char* end = nullptr;
        plain = std::strtod(text, &end);
        while (end && (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n'))
            ++end;
        if (end == text || !end || *end != '\0' || !std::isfinite(plain))
            return;
    }
    const double normalized = param->ToNormalized(plain);
    const int p = control->ParamIdx();
    if (p >= 0 && host)
        host->BeginParamEdit(p);
    control->SetValueFromEntry(normalized);
    if (p >= 0 && host)
        host->EndParamEdit(p);
}

// ---- Drawing operations ------------------------------------------------------------------------

bool IGraphics::DrawBitmap(const IImage& bitmap, const IBox& destRect, int srcX, int srcY, const IBlend* blend)
{
    if (!bitmap.bitmap || !drawBitmap)
        return true;
    const IBox area = Clip(drawRect, IBox{0, 0, drawBitmap->GetWidth(), drawBitmap->GetHeight()});
    const IBox dest = Clip(destRect, area);
    if (!HasArea(dest))
        return true;
    // The source origin moves with the clipped destination; a source wholly outside the image
    // draws nothing (and keeps the arithmetic far from overflow).
    const long long sx = static_cast<long long>(srcX) + dest.L - destRect.L;
    const long long sy = static_cast<long long>(srcY) + dest.T - destRect.T;
    const int sw = bitmap.bitmap->GetWidth();
    const int sh = bitmap.bitmap->GetHeight();
    if (sx >= sw || sy >= sh || sx + dest.W() <= 0 || sy + dest.H() <= 0)
        return true;
    PIX_BitmapView view(*drawBitmap, area);
    pix::Blit(&view, bitmap.bitmap, dest.L - area.L, dest.T - area.T, static_cast<int>(sx), static_cast<int>(sy),
              dest.W(), dest.H(), WeightOf(blend), ModeOf(blend));
    return true;
}

bool IGraphics::DrawBitmapFrame(const IImage& bitmap, const IBox& destRect, int frame, const IBlend* blend,
                                bool vertical)
{
    int srcX = 0;
    int srcY = 0;
    if (bitmap.bitmap && bitmap.N > 1 && frame > 1) {
        const int f = std::min(frame, bitmap.N);
        const double size = vertical ? bitmap.bitmap->GetHeight() : bitmap.bitmap->GetWidth();
        const int offset = static_cast<int>(std::floor(size * (f - 1) / bitmap.N + 0.5));
        (vertical ? srcY : srcX) = offset;
    }
    return DrawBitmap(bitmap, destRect, srcX, srcY, blend);
}

bool IGraphics::DrawRotatedBitmap(const IImage& bitmap, int centreX, int centreY, double angle, const IBlend* blend,
                                  float srcX, float srcY)
{
    if (!bitmap.bitmap || !drawBitmap)
        return true;
    const IBox area = Clip(drawRect, IBox{0, 0, drawBitmap->GetWidth(), drawBitmap->GetHeight()});
    if (!HasArea(area))
        return true;
    const int w = bitmap.bitmap->GetWidth();
    const int h = bitmap.bitmap->GetHeight();
    const long long left = static_cast<long long>(centreX) - w / 2 - area.L;
    const long long top = static_cast<long long>(centreY) - h / 2 - area.T;
    if (left >= area.W() || top >= area.H() || left + w <= 0 || top + h <= 0)
        return true;
    PIX_BitmapView view(*drawBitmap, area);
    pix::BlitRotated(&view, bitmap.bitmap, static_cast<int>(left), static_cast<int>(top), w, h, srcX, srcY,
                     static_cast<float>(w), static_cast<float>(h), static_cast<float>(angle), false, WeightOf(blend),
                     ModeOf(blend) | pix::kFilterBilinear, 0.0f, 0.0f);
    return true;
}

bool IGraphics::FillRect(const IArgb& colour, const IBox& rect, const IBlend* blend)
{
    if (!drawBitmap)
        return true;
    const IBox area = Clip(drawRect, IBox{0, 0, drawBitmap->GetWidth(), drawBitmap->GetHeight()});
    const IBox fill = Clip(rect, area);
    if (!HasArea(fill))
        return true;
    PIX_BitmapView view(*drawBitmap, area);
    pix::FillRect(&view, fill.L - area.L, fill.T - area.T, fill.W(), fill.H(), colour.Pack(), WeightOf(blend),
                  ModeOf(blend));
    return true;
}

bool IGraphics::DrawLine(const IArgb& colour, float x1, float y1, float x2, float y2, const IBlend* blend,
                         bool antialias)
{
    if (!drawBitmap)
        return true;
    const IBox area = Clip(drawRect, IBox{0, 0, drawBitmap->GetWidth(), drawBitmap->GetHeight()});
    if (!HasArea(area))
        return true;
    PIX_BitmapView view(*drawBitmap, area);
    const float dx = static_cast<float>(area.L);
    const float dy = static_cast<float>(area.T);
    pix::SubpixelLine(&view, x1 - dx, y1 - dy, x2 - dx, y2 - dy, colour.Pack(), AlphaOf(colour), ModeOf(blend),
                      antialias);
    return true;
}

bool IGraphics::DrawRoundRect(const IArgb& colour, const IBox& rect, int radius, const IBlend* blend, bool antialias)
{
    if (!drawBitmap)
        return true;
    const IBox area = Clip(drawRect, IBox{0, 0, drawBitmap->GetWidth(), drawBitmap->GetHeight()});
    if (!HasArea(area) || !HasArea(rect) || !WithinDrawingRange(rect, radius))
        return true;
    const float r = static_cast<float>(std::max(0, radius));
    const float L = static_cast<float>(rect.L);
    const float T = static_cast<float>(rect.T);
    const float R = static_cast<float>(rect.R) - 1.0f;
    const float B = static_cast<float>(rect.B) - 1.0f;
    DrawLine(colour, L + r + 1, T, R - r - 1, T, blend, antialias);
    DrawLine(colour, R, T + r + 1, R, B - r - 1, blend, antialias);
    DrawLine(colour, L + r + 1, B, R - r - 1, B, blend, antialias);
    DrawLine(colour, L, T + r + 1, L, B - r - 1, blend, antialias);

    PIX_BitmapView view(*drawBitmap, area);
    const float ox = static_cast<float>(area.L);
    const float oy = static_cast<float>(area.T);
    const std::uint32_t c = colour.Pack();
    const float a = AlphaOf(colour);
    const std::uint32_t mode = ModeOf(blend);
    pix::Arc(&view, L + r - ox, T + r - oy, r, -kPi / 2, 0.0f, c, a, mode, antialias);
    pix::Arc(&view, R - r - ox, T + r - oy, r, 0.0f, kPi / 2, c, a, mode, antialias);
    pix::Arc(&view, R - r - ox, B - r - oy, r, kPi / 2, kPi, c, a, mode, antialias);
    pix::Arc(&view, L + r - ox, B - r - oy, r, kPi, 3 * kPi / 2, c, a, mode, antialias);
    return true;
}

bool IGraphics::FillRoundRect(const IArgb& colour, const IBox& rect, int radius, int corners, const IBlend* blend,
                              bool antialias)
{
    if (!drawBitmap || (corners != 4 && corners != 2 && corners != -2))
        return true;
    const IBox area = Clip(drawRect, IBox{0, 0, drawBitmap->GetWidth(), drawBitmap->GetHeight()});
    if (!HasArea(area) || !HasArea(rect) || !WithinDrawingRange(rect, radius))
        return true;
    const int r = std::max(0, radius);
    const int L = rect.L, T = rect.T, R = rect.R, B = rect.B;
    const int w = R - L;
    const int h = B - T;
    auto fill = [&](int x, int y, int fw, int fh) { FillRect(colour, IBox{x, y, x + fw, y + fh}, blend); };
    const bool top = corners != -2;
    const bool bottom = corners != 2;
    if (top && bottom)
        fill(L, T + r + 1, w, h - 2 * r - 2);
    else if (top)
        fill(L, T + r + 1, w, h - r - 1);
    else
        fill(L, T, w, h - r - 1);
    if (top)
        fill(L + r + 1, T, w - 2 * r - 2, r + 1);
    if (bottom)
        fill(L + r + 1, B - r - 1, w - 2 * r - 2, r + 1);

    PIX_BitmapView view(*drawBitmap, area);
    const float ox = static_cast<float>(area.L);
    const float oy = static_cast<float>(area.T);
    const float fr = static_cast<float>(r);
    const std::uint32_t c = colour.Pack();
    const float a = AlphaOf(colour);
    const std::uint32_t mode = ModeOf(blend);
    const float left = static_cast<float>(L + r) - ox;
    const float right = static_cast<float>(R - r - 1) - ox;
    const float upper = static_cast<float>(T + r) - oy;
    const float lower = static_cast<float>(B - r - 1) - oy;
    if (top) {
        pix::FillArc(&view, left, upper, fr, -kPi / 2, 0.0f, c, a, mode, antialias);
        pix::FillArc(&view, right, upper, fr, 0.0f, kPi / 2, c, a, mode, antialias);
    }
    if (bottom) {
        pix::FillArc(&view, right, lower, fr, kPi / 2, kPi, c, a, mode, antialias);
        pix::FillArc(&view, left, lower, fr, kPi, 3 * kPi / 2, c, a, mode, antialias);
    }
    return true;
}

bool IGraphics::DrawText(ITextStyle& text, const char* string, const IBox& rect)
{
    if (!string || !string[0] || !drawBitmap)
        return true;
    const IBox area = Clip(drawRect, IBox{0, 0, drawBitmap->GetWidth(), drawBitmap->GetHeight()});
    if (!HasArea(area))
        return true;
    PIX_BitmapView view(*drawBitmap, area);
    const IBox placed{
        ClampToInt(static_cast<long long>(rect.L) - area.L), ClampToInt(static_cast<long long>(rect.T) - area.T),
        ClampToInt(static_cast<long long>(rect.R) - area.L), ClampToInt(static_cast<long long>(rect.B) - area.T)};
    return pix::DrawText(view, text, string, placed);
}

// ---- Frames ------------------------------------------------------------------------------------

bool IGraphics::IsDirty(IBox& rect)
{
    bool any = false;
    for (const std::unique_ptr<IControl>& c : controls) {
        if (c->IsDirty()) {
            rect = rect.Union(c->Rect());
            any = true;
        }
    }
    return any;
}

bool IGraphics::Draw(const IBox& rect)
{
    if (controls.empty())
        return true;
    const IBox region = Clip(rect, IBox{0, 0, width, height});
    drawRect = region;
    for (size_t i = 0; i < controls.size(); ++i) {
        IControl* c = controls[i].get();
        if (!c->IsHidden() && HasArea(region) && HasArea(c->Rect()) && c->Rect().Overlaps(region))
            c->Draw(*this);
        c->SetClean();
    }
    drawRect = IBox{};
    return HasArea(region) ? PresentRegion(region) : true;
}

// ---- Events ------------------------------------------------------------------------------------

int IGraphics::FindControlAt(int x, int y) const
{
    if (mouseCapture >= 0 && mouseCapture < NumControls())
        return mouseCapture;
    for (int i = NumControls() - 1; i >= 0; --i) {
        const IControl* c = controls[static_cast<size_t>(i)].get();
        if (!c->IsHidden() && !c->IsGrayed() && c->IsHit(x, y))
            return i;
    }
    return -1;
}

void IGraphics::ReleaseMouseCapture()
{
    mouseCapture = -1;
    mouseX = -1;
    mouseY = -1;
}

void IGraphics::EndGestureEdit()
{
    gestureIdx = -1;
    if (gestureParam >= 0 && host)
        host->EndParamEdit(gestureParam);
    gestureParam = -1;
}

int IGraphics::ControlForNewGesture(int x, int y)
{
    // A new gesture first closes any edit still open: a press whose release never came, or a
    // wheel edit waiting for its delayed end.
    EndGestureEdit();
    if (host)
        host->FlushDelayedParamEdit();
    ReleaseMouseCapture();
    return FindControlAt(x, y);
}

void IGraphics::BeginGesture(int controlIdx)
{
    gestureIdx = controlIdx;
    const int p = controls[static_cast<size_t>(controlIdx)]->ParamIdx();
    if (p >= 0 && host) {
        host->BeginParamEdit(p);
        gestureParam = p;
    }
}

void IGraphics::OnMouseDown(int x, int y, const IMouseState& mod)
{
    const int c = ControlForNewGesture(x, y);
    if (c < 0)
        return;
    IControl* control = controls[static_cast<size_t>(c)].get();
    mouseCapture = c;
    mouseX = x;
    mouseY = y;
    // Closing the pop-up removes a control, which can shift the captured control's index.
    if (popup && popup != control && control->Owner() != popup)
        ClosePopup(false);
    BeginGesture(mouseCapture);
    control->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(int x, int y, const IMouseState& mod)
{
    // The release goes to the control of the press (or double click) it ends; a release without
    // one reaches nobody, so the host never sees an end without a begin.
    const int c = mouseCapture >= 0 ? mouseCapture : gestureIdx;
    ReleaseMouseCapture();
    if (c >= 0 && c < NumControls())
        controls[static_cast<size_t>(c)]->OnMouseUp(x, y, mod);
    EndGestureEdit();
}

void IGraphics::OnMouseDrag(int x, int y, const IMouseState& mod)
{
    if (mouseCapture < 0 || mouseCapture >= NumControls())
        return;
    const int dX = ClampToInt(static_cast<long long>(x) - mouseX);
    const int dY = ClampToInt(static_cast<long long>(y) - mouseY);
    if (dX == 0 && dY == 0)
        return;
    mouseX = x;
    mouseY = y;
    controls[static_cast<size_t>(mouseCapture)]->OnMouseDrag(x, y, dX, dY, mod);
}

bool IGraphics::OnMouseDblClick(int x, int y, const IMouseState& mod)
{
    const int c = ControlForNewGesture(x, y);
    if (c < 0)
        return false;
    IControl* control = controls[static_cast<size_t>(c)].get();
    BeginGesture(c);
    if (control->DblAsPress()) {
        mouseCapture = c;
        mouseX = x;
        mouseY = y;
        control->OnMouseDown(x, y, mod);
        return true;
    }
    control->OnMouseDblClick(x, y, mod);
    return false;
}

void IGraphics::OnMouseWheel(int x, int y, const IMouseState& mod, int notches)
{
    if (notches == 0)
        return;
    const int c = FindControlAt(x, y);
    if (c < 0)
        return;
    IControl* control = controls[static_cast<size_t>(c)].get();
    const int p = control->ParamIdx();
    if (p >= 0 && host)
        host->BeginDelayedParamEdit(p);
    control->OnMouseWheel(x, y, mod, notches);
    if (p >= 0 && host)
        host->EndDelayedParamEdit(p);
}

bool IGraphics::OnMouseOver(int x, int y, const IMouseState& mod)
{
    if (!mouseOverEnabled)
        return false;
    const int c = FindControlAt(x, y);
    if (c < 0)
        return true;
    mouseX = x;
    mouseY = y;
    IControl* control = controls[static_cast<size_t>(c)].get();
    control->OnMouseOver(x, y, mod);
    if (control->ParamIdx() >= 0 && host)
        host->OnMouseOverParam(control->ParamIdx());
    if (mouseOverIdx >= 0 && mouseOverIdx != c && mouseOverIdx < NumControls())
        controls[static_cast<size_t>(mouseOverIdx)]->OnMouseOut();
    mouseOverIdx = c;
    return true;
}

void IGraphics::OnMouseOut()
{
    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->OnMouseOut();
    mouseOverIdx = -1;
}

void IGraphics::OnKeyDown(int x, int y, int key)
{
    const int c = FindControlAt(x, y);
    if (c >= 0)
        controls[static_cast<size_t>(c)]->OnKeyDown(x, y, key);
}

void IGraphics::DeliverMouse(MouseEvent kind, int x, int y, int notches, bool shift, bool control, bool alt)
{
    IMouseState mod{};
    mod.S = shift;
    mod.C = control;
    mod.A = alt;
    switch (kind) {
    case MouseEvent::kOver: OnMouseOver(x, y, mod); break;
    case MouseEvent::kLeftDown:
        mod.L = true;
        OnMouseDown(x, y, mod);
        break;
    case MouseEvent::kLeftUp:
        mod.L = true;
        OnMouseUp(x, y, mod);
        break;
    case MouseEvent::kRightDown:
        mod.R = true;
        OnMouseDown(x, y, mod);
        break;
    case MouseEvent::kRightUp:
        mod.R = true;
        OnMouseUp(x, y, mod);
        break;
    case MouseEvent::kDrag:
        mod.L = true;
        OnMouseDrag(x, y, mod);
        break;
    case MouseEvent::kWheel: OnMouseWheel(x, y, mod, notches); break;
    case MouseEvent::kDoubleClick:
        mod.L = true;
        OnMouseDblClick(x, y, mod);
        break;
    case MouseEvent::kOut: OnMouseOut(); break;
    }
}

bool IGraphics::CaptureFrame(std::uint32_t* pixels, std::int64_t capacity, int& frameWidth, int& frameHeight)
{
    frameWidth = width;
    frameHeight = height;
    UpdateFromHost();
    Draw(IBox{0, 0, width, height});
    const PIX_SysBitmap* back = BackBuffer();
    if (!back || !pixels || capacity < static_cast<std::int64_t>(width) * height)
        return false;
    const int span = back->GetRowSpan();
    const std::uint32_t* bits = back->GetBits();
    for (int row = 0; row < height; ++row)
        std::memcpy(pixels + static_cast<std::int64_t>(row) * width, bits + static_cast<std::int64_t>(row) * span,
                    sizeof(std::uint32_t) * static_cast<size_t>(width));
    return true;
}

// ---- Pop-up value menu -------------------------------------------------------------------------

void IGraphics::SetPopup(IControl* newPopup)
{
    if (newPopup == popup || IndexOf(newPopup) < 0)
        return;
    if (popup)
        ClosePopup(false);
    popup = newPopup;
    popupDismissed = false;
}

void IGraphics::ClosePopup(bool fromPopup)
{
    if (!popup)
        return;
    IControl* closing = popup;
    if (!fromPopup && closing->Owner())
        closing->Owner()->OnPopupChoice("", -1);
    RemoveControl(closing);
    popup = nullptr;
    popupDismissed = !fromPopup;
    if (!controls.empty())
        controls.front()->SetDirty(false);
}

bool IGraphics::DismissLists()
{
    bool closed = false;
    if (popup) {
        ClosePopup(false);
        closed = true;
    }
    popupDismissed = false;
    for (const std::unique_ptr<IControl>& c : controls)
        closed = c->DismissList() || closed;
    return closed;
}

// ---- Sizes and bookkeeping ---------------------------------------------------------------------

void IGraphics::Resize(int newWidth, int newHeight)
{
    width = std::max(0, newWidth);
    height = std::max(0, newHeight);
    EndGestureEdit();
    ReleaseMouseCapture();
    while (!controls.empty())
        controls.pop_back();
    popup = nullptr;
    popupDismissed = false;
    mouseOverIdx = -1;
    if (drawBitmap)
        drawBitmap->Resize(width, height);
    if (host)
        host->ResizeEditorWindow(width, height);
}

IControl* IGraphics::GetControl(int index) const
{
    if (index < 0 || index >= NumControls())
        return nullptr;
    return controls[static_cast<size_t>(index)].get();
}

bool IGraphics::HoldsControl(const IControl* control) const
{
    for (const auto& held : controls)
        if (held.get() == control)
            return true;
    return false;
}

int IGraphics::IndexOf(const IControl* control) const
{
    if (!control)
        return -1;
    for (int i = 0; i < NumControls(); ++i)
        if (controls[static_cast<size_t>(i)].get() == control)
            return i;
    return -1;
}

void IGraphics::ShiftIndexes(int at, int delta)
{
    auto shift = [&](int& idx) {
        if (idx < 0)
            return;
        if (delta > 0 && idx >= at)
            idx += delta;
        else if (delta < 0 && idx == at)
            idx = -1;
        else if (delta < 0 && idx > at)
            idx += delta;
    };
    shift(mouseCapture);
    shift(mouseOverIdx);
    shift(gestureIdx);
    if (mouseCapture < 0) {
        mouseX = -1;
        mouseY = -1;
    }
}

IBox IGraphics::CarriedPastEdges(const IBox& rect) const
{
    IBox beyond = rect;
    if (rect.R >= width)
        beyond.R = INT_MAX;
    if (rect.B >= height)
        beyond.B = INT_MAX;
    return beyond;
}
