// IGraphicsLinux: the editor's graphics object on Linux. It supplies the platform operations of
// IGraphics: an X11 child window inside the host's window, driven by the host's run loop (the
// display connection's descriptor and a redraw timer), which presents the back buffer, turns
// pointer and key events into graphics-core events and shows our own text box or drop-down list
// for typed values; images from the resources embedded in this library, the desktop's URL
// opener, the host's and the library's folders and the delayed end-of-edit countdown.
#pragma once

#include "controls/IGraphics.h"
#include "graphics/PIX_MemBitmap.h"
#include "platform/linux/EditorRunLoop.h"
#include "platform/linux/x11/EditorWindowEvent.h"
#include "platform/linux/UrlOpener.h"
#include "platform/linux/x11/ValueEntryBox.h"

#include <memory>
#include <optional>

class X11EditorWindow;

class IGraphicsLinux : public IGraphics, private IEditorRunLoopClient {
public:
    // Text-box states: idle, typing, cancel requested, commit requested. A request is carried
    // out by the next timer tick.
    enum TextBoxState {
        kTextBoxIdle = 0,
        kTextBoxTyping = 1,
        kTextBoxCancel = 2,
        kTextBoxCommit = 3
    };
    static constexpr unsigned long kDoubleClickMs = 500;  // second press within this time...
    static constexpr int kDoubleClickDistance = 2;  // ...and this many pixels each way

    IGraphicsLinux(IEditHost* host, int width, int height, int fps);
    ~IGraphicsLinux() override;

    bool PresentRegion(const IBox& rect) override;
    void OpenValueEntry(IControl* control, const IParamDef* param, bool centred) override;
    std::string HostFolder() const override;
    std::string LibraryFolder() const override;
    // Without a dialog to ask with, an address that needs confirmation is not opened, and
    // failures are reported by the answer only.
    bool OpenURL(const char* url, const char* caption, const char* confirmText, const char* errorText) override;
    void SetParamEditCountdown(int ticks) override;
    void CancelParamEditCountdown() override;
    // parent is an EmbedTarget*. Answers the X window id (as a pointer), null on failure: no
    // target, no run loop, no display, or a parent window that does not exist.
    void* OpenWindow(void* parent) override;
    void CloseWindow() override;
    void* GetWindow() const override;
    bool ShowWindow(bool shown) override;
    std::unique_ptr<PIX_IBitmap> DecodeImage(int resourceId, const char* name) override;

    // One frame of the redraw timer: takes up what the plug-in published, carries out a text-box
    // request, redraws and presents whatever is dirty, then counts the delayed end of an edit
    // down and sends it when it expires.
    void Tick();
    // Acts on one window event (the run loop's descriptor callback feeds every queued one here).
    void HandleEvent(const EditorWindowEvent& event);

    int ParamEditCountdown() const { return paramEditCountdown; }
    // Timer period in milliseconds for the frame rate.
    int TimerPeriodMs() const { return static_cast<int>(1000.0 / FrameRate()); }
    int TextBoxStateNow() const { return textBoxState; }
    const ValueEntryBox* TextBox() const { return textBox ? &*textBox : nullptr; }
    // The present method of the open window, "none" when closed.
    const char* PresentMethod() const;

private:
    void OnDescriptorReady() override;
    void OnTimer() override;
    void HandlePress(const EditorWindowEvent& event);
    void HandleEntryInput(const EditorWindowEvent& event);
    void ShowTextBox();
    void CloseTextBox();

    const void* module;  // holds the embedded images
    int paramEditCountdown = 0;
    UrlOpener urlOpener;

    std::unique_ptr<X11EditorWindow> window;
    IEditorRunLoop* runLoop = nullptr;  // the host's loop driving the open window; not owned
    unsigned long parentWindow = 0;
    bool captured = false;  // a press of ours is in progress (the implicit grab)
    bool trackingLeave = false;  // a mouse-over asked to hear when the pointer leaves
    IBox exposed;  // exposures gathered until the last of a series
    int lastButton = 0;  // the previous press, for double clicks
    unsigned long lastTime = 0;
    int lastX = 0;
    int lastY = 0;

    std::optional<ValueEntryBox> textBox;
    PIX_MemBitmap textBoxPixels{0, 0, 4};
    IControl* textBoxControl = nullptr;
    const IParamDef* textBoxParam = nullptr;
    int textBoxState = kTextBoxIdle;
};
