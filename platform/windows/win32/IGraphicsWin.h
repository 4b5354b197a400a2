// IGraphicsWin: the editor's graphics object on Windows. It binds the graphics core to a Win32
// child window inside the host's window: it registers the window class, runs the redraw timer,
// copies the back buffer to the screen, turns mouse, wheel and key messages into graphics-core
// events, opens native text boxes and drop-down lists for typed values, opens web links, reports
// the host's and the library's folders and decodes the editor's images from the library's
// resources. Everything runs on the host's GUI thread.
//
// Window handles appear here as void* so that this header stays free of the system headers, whose
// macros would rename members of the graphics core (DrawText, LoadBitmap).
#pragma once

#include "controls/IGraphics.h"

#include <cstdint>

class IGraphicsWin : public IGraphics {
public:
    // Text-box states: idle, typing, cancel requested, commit requested. A request is carried
    // out by the next timer tick.
    enum TextBoxState {
        kTextBoxIdle = 0,
        kTextBoxTyping = 1,
        kTextBoxCancel = 2,
        kTextBoxCommit = 3
    };
    // Timer id of the redraw timer, control id of the text box, and the marker kept in the text
    // box's user data.
    static constexpr unsigned kTimerId = 2;
    static constexpr int kTextBoxId = 99;
    static constexpr std::uintptr_t kTextBoxMarker = 0xDEADF00B;

    IGraphicsWin(IEditHost* host, int width, int height, int fps);
    // Closes the window (sending a pending end of edit), then the graphics core goes.
    ~IGraphicsWin() override;

    bool PresentRegion(const IBox& rect) override;
    // Resizes the core and, while open, the window and those of its parent and grandparent that
    // are child windows, by the change of the editor's size.
    void Resize(int width, int height) override;
    void OpenValueEntry(IControl* control, const IParamDef* param, bool centred) override;
    std::string HostFolder() const override;
    std::string LibraryFolder() const override;
    bool OpenURL(const char* url, const char* caption, const char* confirmText, const char* errorText) override;
    void SetParamEditCountdown(int ticks) override;
    void CancelParamEditCountdown() override;
    // parent is the host's HWND. Answers the editor's HWND, null on failure.
    void* OpenWindow(void* parent) override;
    void CloseWindow() override;
    void* GetWindow() const override { return window; }
    std::unique_ptr<PIX_IBitmap> DecodeImage(int resourceId, const char* name) override;

    // The library module whose resources hold the images and which owns the window class.
    void* Module() const { return module; }
    void* TextBoxWindow() const { return textBox; }
    int TextBoxStateNow() const { return textBoxState; }
    int ParamEditCountdown() const { return paramEditCountdown; }
    void* ParentWindow() const { return parentWindow; }
    // Period of the running redraw timer in milliseconds, 0 while closed.
    unsigned TimerPeriodMs() const { return window ? timerPeriod : 0; }
    // Editor windows open in this process; the window class is registered while it is above 0.
    static int OpenWindowCount();

    // Handles one message of the editor window / of the open text box (the window procedures
    // forward here once they have found the object).
    std::intptr_t HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t HandleTextBoxMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    // One frame of the redraw timer: takes up what the plug-in published, carries out a text-box
    // request, redraws whatever is dirty at once, then counts the delayed end of an edit down.
    void Tick();
    void CloseTextBox();
    // The window went away without CloseWindow (the host destroyed its parent): forget it and
    // keep the window count balanced.
    void ForgetDestroyedWindow();
    // A host that stretches the window beyond the editor sees the editor's edge carried on there:
    // the part of `area` right of the editor repeats each row's last pixel, the part below it each
    // column's bottom pixel (the corner the last pixel of all).
    void PaintBeyond(const IBox& area);

    void* module = nullptr;
    void* window = nullptr;
    void* textBox = nullptr;
    IControl* textBoxControl = nullptr;
    const IParamDef* textBoxParam = nullptr;
    std::intptr_t textBoxPrevProc = 0;
    int textBoxState = kTextBoxIdle;
    int paramEditCountdown = 0;
    void* parentWindow = nullptr;

    void* textBoxFont = nullptr;  // the text box's font, deleted with the box
    unsigned timerPeriod = 0;
    bool painting = false;  // inside the window's paint message
    bool presented = false;  // the current paint message reached PresentRegion
};
