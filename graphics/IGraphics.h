// The editor's graphics object as the plug-in base sees it: the controls that show parameter
// values, the back buffer, the end-of-edit countdown and the native window.
#pragma once

class IGraphics {
public:
    virtual ~IGraphics() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int FrameRate() const = 0;

    // Gives every control bound to `paramIdx` the value (plain values are first normalized).
    virtual void PushParameterToControls(int paramIdx, double value, bool isNormalized) = 0;
    // Creates the back buffer once the controls are built.
    virtual void PrepareDrawing() = 0;

    virtual void SetParamEditCountdown(int ticks) = 0;
    virtual void CancelParamEditCountdown() = 0;

    virtual void* OpenWindow(void* parent) = 0;
    virtual void CloseWindow() = 0;
};
