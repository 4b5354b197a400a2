// An editor on a Win32 window for driving IGraphicsWin in-process: a fake plug-in that records
// what the editor asks of it, a probe control that records the events it receives with their
// modifiers, and a top-level host window the editor opens inside.
#pragma once

#include "controls/IControl.h"
#include "framework/IEditHost.h"
#include "framework/IParamDef.h"
#include "platform/windows/win32/IGraphicsWin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Parameters: 0 "Gain" (double, -12..12 dB), 1 "Target" (four display texts), 2 "Steps" (int).
class FakeEditHost : public IEditHost {
public:
    FakeEditHost();

    bool BeginParamEdit(int index) override;
    bool EndParamEdit(int index) override;
    void SetParamFromEditor(int index, double normalized) override;
    void BeginDelayedParamEdit(int index) override;
    // Starts the editor's countdown as the plug-in base does: half a second of frames.
    void EndDelayedParamEdit(int index) override;
    void FlushDelayedParamEdit() override;
    const IParamDef* ParamRecord(int index) const override;
    int ParamCount() const override { return kParams; }
    std::uint32_t HostChangeSerial(int) const override { return 0; }
    double HostChangeValue(int) const override { return 0.0; }
    void OnMouseOverParam(int) override {}
    void ResizeEditorWindow(int width, int height) override;

    static constexpr int kParams = 3;
    IParamDef params[kParams];
    IGraphicsWin* editor = nullptr;
    std::string log;  // "B0 P0=0.5 E0 D0 d0 F"
    bool delayedOpen = false;
};

// Fills its rectangle; logs "name.event(x,y,mods)" with mods from L R S C A.
class WinProbe : public IControl {
public:
    WinProbe(IEditHost* host, int paramIdx, const IBox& area, std::string* log, const char* name);

    void OnMouseDown(int x, int y, const IMouseState& mod) override;
    void OnMouseUp(int x, int y, const IMouseState& mod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, const IMouseState& mod) override;
    void OnMouseDblClick(int x, int y, const IMouseState& mod) override;
    void OnMouseWheel(int x, int y, const IMouseState& mod, int d) override;
    void OnMouseOver(int x, int y, const IMouseState& mod) override;
    void OnMouseOut() override;
    void OnKeyDown(int x, int y, int key) override;
    bool Draw(IGraphics& graphics) override;

    void Record(const std::string& what, int x, int y, const IMouseState& mod);
    std::string* log;
    std::string name;
    int draws = 0;
};

// A top-level host window of the test program's own class, shown on the screen.
class HostWindow {
public:
    HostWindow(int x, int y, int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    void* Handle() const { return handle; }

private:
    void* handle = nullptr;
};

class WinEditor : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new editor (fps as given) of 400 x 300 with a background probe and the editor's host
    // set; it is not opened.
    std::unique_ptr<IGraphicsWin> MakeEditor(int fps = 0);
    WinProbe* Probe(IGraphicsWin& editor, int paramIdx, const IBox& area, const char* name);
    // Messages to the open editor window (client coordinates), and a tick of its timer.
    std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void Tick(int times = 1);
    // Dispatches whatever is queued for this thread.
    static void Pump();
    bool ClassRegistered() const;

    FakeEditHost host;
    std::unique_ptr<HostWindow> parent;
    std::unique_ptr<IGraphicsWin> graphics;
    WinProbe* knob = nullptr;  // parameter 0, at (100,100)-(160,160)
    WinProbe* list = nullptr;  // parameter 1, at (200,100)-(300,130)
    std::string log;
};
