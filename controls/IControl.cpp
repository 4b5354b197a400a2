#include "controls/IControl.h"

#include "controls/PromptPopup.h"
#include "framework/IEditHost.h"
#include "framework/IParamDef.h"
#include "controls/IGraphics.h"

#include <cmath>

IControl::IControl(IEditHost* host, int paramIdx) : host(host), paramIdx(paramIdx) {}

const IParamDef* IControl::Param() const { return host && paramIdx >= 0 ? host->ParamRecord(paramIdx) : nullptr; }

void IControl::OnMouseDown(int, int, const IMouseState& mod)
{
    IGraphics* graphics = Graphics();
    if (!mod.R) {
        if (graphics)
            graphics->ClearPopupSlot();
        return;
    }
    if (paramIdx < 0 || noValueEntry || !graphics)
        return;
    // The right press that dismissed a menu opens nothing itself.
    if (!graphics->PopupSlotEmpty()) {
        graphics->ClearPopupSlot();
        return;
    }
    // A list parameter with texts gets the value menu; anything else is typed in.
    const IParamDef* param = Param();
    if (param && param->ValueTextCount() > 0 && (param->Kind() == kParamEnum || param->Kind() == kParamBool)) {
        PromptPopup::OpenFor(*this);
        return;
    }
    OpenValueEntry();
}

void IControl::OnMouseUp(int, int, const IMouseState&) {}

void IControl::OnMouseDrag(int, int, int, int, const IMouseState&) {}

void IControl::OnMouseDblClick(int, int, const IMouseState&)
{
    if (defaultValue >= 0.0) {
        value = defaultValue;
        SetDirty(true);
    }
}

void IControl::OnMouseWheel(int, int, const IMouseState& mod, int d)
{
    const IParamDef* param = Param();
    if (!param)
        return;
    double step = 0.01;
    if (param->Kind() != kParamDouble && param->Kind() != kParamInt) {
        // A list parameter without texts has no steps to take.
        if (param->ValueTextCount() <= 0)
            return;
        step = 0.5 / param->ValueTextCount();
    }
    const float fine = mod.C || mod.S ? static_cast<float>(step) * 0.1f : static_cast<float>(step);
    value += static_cast<double>(fine * static_cast<float>(d));
    SetDirty(true);
}

void IControl::OnKeyDown(int, int, int) {}

void IControl::OnMouseOver(int, int, const IMouseState&) {}

void IControl::OnMouseOut() {}

void IControl::SetValueFromParam(double v)
{
    if (defaultValue < 0.0) {
        defaultValue = v;
    } else if (v == value) {
        return;
    }
    value = v;
    SetDirty(false);
    redraw = true;
}

void IControl::SetValueFromEntry(double v)
{
    if (v != value)
        value = v;
    SetDirty(true);
    redraw = true;
}

void IControl::OnPopupChoice(const char*, int) {}

bool IControl::DismissList() { return false; }

void IControl::Hide(bool hide)
{
    hidden = hide;
    redraw = true;
    SetDirty(false);
}

void IControl::SetGrayed(bool gray)
{
    grayed = gray;
    blend.weight = gray ? 0.25f : 1.0f;
    SetDirty(false);
}

bool IControl::IsHit(int x, int y) const
{
    return targetRect.L <= x && x <= targetRect.R && targetRect.T <= y && y <= targetRect.B;
}

void IControl::SetDirty(bool pushToPlug)
{
    if (std::isnan(value) || value < clampLo)
        value = clampLo;
    else if (value > clampHi)
        value = clampHi;
    dirty = true;
    if (pushToPlug && host && paramIdx >= 0)
        host->SetParamFromEditor(paramIdx, value);
}

void IControl::SetClean()
{
    dirty = redraw;
    redraw = false;
}

bool IControl::IsDirty() const { return dirty; }

void IControl::OpenValueEntry()
{
    const IParamDef* param = Param();
    IGraphics* graphics = Graphics();
    if (!param || noValueEntry || !graphics)
        return;
    graphics->OpenValueEntry(this, param, true);
    redraw = true;
}

void IControl::OnTextEntryClosed()
{
    SetDirty(true);
    redraw = true;
}
