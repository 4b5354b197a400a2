// IFxEditor: the plug-in's editor as the framework sees it. The plug-in base owns it; the editor
// view opens and closes its window, asks its size and feeds it the events and frame copies of
// tools and tests; the base hands it parameter values and the delayed end-of-edit countdown.
#pragma once

#include <cstdint>

class IFxEditor {
public:
    // Pointer events a tool delivers in place of a window.
    enum class MouseEvent {
        kOver,
        kLeftDown,
        kLeftUp,
        kRightDown,
        kRightUp,
        kDrag,
        kWheel,
        kDoubleClick,
        kOut
    };

    virtual ~IFxEditor() = default;

    // Opens the editor as a child of the host's window; null on failure.
    virtual void* OpenWindow(void* parent) = 0;
    virtual void CloseWindow() = 0;
    virtual void* GetWindow() const = 0;
    // Maps (shown) or unmaps the open window, for hosts that show and hide the editor without
    // closing it; false without an open window or where the platform does not do it.
    virtual bool ShowWindow(bool) { return false; }
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int FrameRate() const = 0;
    // Creates what frames are drawn into and takes note of the host-side changes shown so far;
    // called once the editor is complete, before the values are pushed.
    virtual void PrepareDrawing() = 0;
    // Gives every control linked to paramIdx the value, normalising a plain value first.
    virtual void PushParameterToControls(int paramIdx, double value, bool isNormalized) = 0;
    // The delayed end of an edit: the plug-in's FlushDelayedParamEdit is due after this many ticks.
    virtual void SetParamEditCountdown(int ticks) = 0;
    virtual void CancelParamEditCountdown() = 0;
    // One pointer event at (x, y); notches for the wheel, positive upwards.
    virtual void DeliverMouse(MouseEvent kind, int x, int y, int notches, bool shift, bool control, bool alt) = 0;
    // Redraws the whole editor and copies its pixels (0xAARRGGBB, top row first) into pixels,
    // which holds capacity pixels; width and height are answered even when it is too small.
    virtual bool CaptureFrame(std::uint32_t* pixels, std::int64_t capacity, int& width, int& height) = 0;
};
