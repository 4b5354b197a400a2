// IControl: the base of every element of the editor. A control owns a rectangle, may be linked to
// one plug-in parameter whose normalised value (0..1) it holds, draws itself when the graphics
// core asks, and turns mouse events into value changes that it pushes to the plug-in.
//
// Threads: controls live on the editor's thread only; host-side values reach them through the
// graphics core's frame (SetValueFromParam).
#pragma once

#include "graphics/IBlend.h"
#include "graphics/IBox.h"
#include "graphics/IMouseState.h"

class IEditHost;
class IGraphics;
class IParamDef;

class IControl {
public:
    IControl(IEditHost* host, int paramIdx);
    virtual ~IControl() = default;
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    // Mouse and key events, delivered by the graphics core. Defaults: a right press opens value
    // entry, a double click restores the first value received from the plug-in, the wheel steps
    // the value; everything else does nothing.
    virtual void OnMouseDown(int x, int y, const IMouseState& mod);
    virtual void OnMouseUp(int x, int y, const IMouseState& mod);
    // dX, dY: pointer movement since the previous drag event.
    virtual void OnMouseDrag(int x, int y, int dX, int dY, const IMouseState& mod);
    virtual void OnMouseDblClick(int x, int y, const IMouseState& mod);
    // d: signed number of wheel notches, positive upwards.
    virtual void OnMouseWheel(int x, int y, const IMouseState& mod, int d);
    virtual void OnKeyDown(int x, int y, int key);
    virtual void OnMouseOver(int x, int y, const IMouseState& mod);
    virtual void OnMouseOut();

    // Draws into the graphics core's back buffer, clipped to the region being redrawn.
    virtual bool Draw(IGraphics& graphics) = 0;

    // A new normalised value from the plug-in (host automation, presets); never pushed back.
    // The first value ever received becomes the double-click default.
    virtual void SetValueFromParam(double v);
    // A typed or chosen normalised value; always pushed to the plug-in, even when unchanged.
    virtual void SetValueFromEntry(double v);
    // The pop-up value menu's answer to a control without a parameter; ("", -1) when the menu
    // was dismissed without a choice.
    virtual void OnPopupChoice(const char* text, int index);

    virtual void Hide(bool hide);
    // Closes a list this control has open, without a choice; answers whether one was open.
    // Controls without a list of their own have none to close.
    virtual bool DismissList();
    // A grayed control is drawn at a quarter weight and ignores the mouse.
    virtual void SetGrayed(bool gray);
    // Inclusive on all four edges of the target rectangle.
    virtual bool IsHit(int x, int y) const;
    // Clamps the value, marks the control for redrawing and, when asked and linked to a
    // parameter, sends the value to the plug-in. The one way a control changes its parameter.
    virtual void SetDirty(bool pushToPlug);
    // After a frame: stays dirty only when a redraw was requested during the frame.
    virtual void SetClean();
    virtual bool IsDirty() const;

    // Asks the window for a typed entry of this control's parameter, centred on the control.
    void OpenValueEntry();
    // The window's typed entry for this control has closed: push the value again, redraw once more.
    void OnTextEntryClosed();

    const IBox& Rect() const { return rect; }
    const IBox& TargetRect() const { return targetRect; }
    int ParamIdx() const { return paramIdx; }
    double Value() const { return value; }
    double DefaultValue() const { return defaultValue; }
    bool IsHidden() const { return hidden; }
    bool IsGrayed() const { return grayed; }
    bool DblAsPress() const { return dblAsPress; }
    const IBlend& Blend() const { return blend; }
    IControl* Owner() const { return owner; }
    IEditHost* Host() const { return host; }
    // The graphics object this control was attached to; set by it.
    IGraphics* Graphics() const { return graphics; }
    void SetGraphics(IGraphics* owner) { graphics = owner; }

protected:
    // The linked parameter's record, or null without one.
    const IParamDef* Param() const;

    double value = 0.0;
    IControl* owner = nullptr;  // the control this one acts for (the pop-up value menu's opener)
    IEditHost* host;
    IGraphics* graphics = nullptr;
    IBox rect;
    IBox targetRect;
    int paramIdx;
    double defaultValue = -1.0;  // negative: no value received yet
    double clampLo = 0.0;
    double clampHi = 1.0;
    bool dirty = true;
    bool hidden = false;
    bool grayed = false;
    bool redraw = false;  // keep dirty for one more frame after the next SetClean
    bool noValueEntry = false;
    bool dblAsPress = false;  // deliver a double click as a press
    IBlend blend;
};
