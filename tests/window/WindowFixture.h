// An editor in a host window on the X server: a small plug-in with two sliders and a key
// recorder, opened through its VST3 view in the command-line host's frame, and driven with
// synthesized input. Tests skip when no X display is reachable.
#pragma once

#include "ComponentHandler.h"
#include "controls/IControl.h"
#include "EditorSession.h"
#include "framework/vst3/IFxVST3.h"
#include "platform/linux/x11/IGraphicsLinux.h"
#include "tools/hostkit/x11/X11HostWindow.h"
#include "tools/hostkit/x11/X11InputSynthesizer.h"
#include "RunLoopFrame.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Parameter 0 "Gain" (-12..12 dB, default 0), 1 "Target" (four named choices), 2 "Level" (0..100).
class WindowPlugin : public IFxVST3 {
public:
    explicit WindowPlugin(int fps = 0);
    void ParamChanged(int index) override;
    IGraphicsLinux* Editor() const { return static_cast<IGraphicsLinux*>(IFxVST3::Editor()); }
};

// Fills its rectangle with a colour of its value; a drag moves the value by -dY / 100; a right
// press opens typed value entry (a list for named choices); records keys.
class TestSlider : public IControl {
public:
    TestSlider(IFxBase* plug, int paramIdx, const IBox& area);
    void OnMouseDown(int x, int y, const IMouseState& mod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, const IMouseState& mod) override;
    void OnKeyDown(int x, int y, int key) override;
    bool Draw(IGraphics& graphics) override;
    std::string keys;
};

// One plug-in instance with its editor open in a host window of its own.
struct OpenEditor {
    explicit OpenEditor(vibrascend::host::RunLoopFrame& frame, int fps = 0);
    ~OpenEditor();
    void Close() { session.reset(); }
    void Reopen(vibrascend::host::RunLoopFrame& frame);
    // The host's record as text: "B0 P0=0.5 E0".
    std::string Edits() const;

    vibrascend::host::RecordingComponentHandler handler;
    WindowPlugin* plug = nullptr;
    std::unique_ptr<X11HostWindow> host;
    std::unique_ptr<vibrascend::host::EditorSession> session;
};

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Lets the host's run loop and window work for ms milliseconds.
    void Run(int ms);
    void MoveTo(int x, int y) { input->MoveTo(editor->host->Id(), x, y); }
    void Click(int x, int y, int button);

    vibrascend::host::RunLoopFrame frame;
    std::unique_ptr<X11InputSynthesizer> input;
    std::unique_ptr<OpenEditor> editor;
};

// Where the test controls lie.
inline constexpr IBox kGainSlider{40, 40, 120, 200};
inline constexpr IBox kTargetSlider{200, 40, 280, 200};
inline constexpr IBox kLevelSlider{300, 300, 380, 460};
