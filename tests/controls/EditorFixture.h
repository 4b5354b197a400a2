// A small plug-in with an editor for driving the graphics core: four parameters, a recording
// component handler, a window class that records what it presents and the value entries it is
// asked to open, and a probe control that records the events it receives.
#pragma once

#include "ComponentHandler.h"
#include "controls/IControl.h"
#include "framework/vst3/IFxVST3.h"
#include "platform/linux/x11/IGraphicsLinux.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class EditorPlugin : public IFxVST3 {
public:
    EditorPlugin();
    void ParamChanged(int index) override;
};

class RecordingGraphics : public IGraphicsLinux {
public:
    using IGraphicsLinux::IGraphicsLinux;
    bool PresentRegion(const IBox& rect) override;
    void OpenValueEntry(IControl* control, const IParamDef* param, bool centred) override;

    std::vector<IBox> presented;
    std::vector<IControl*> valueEntries;
};

// Fills its rectangle with its colour; a drag moves the value by -dY / 100.
class ProbeControl : public IControl {
public:
    ProbeControl(IFxBase* plug, int paramIdx, const IBox& area, IArgb colour, std::string* log = nullptr,
                 const char* name = "probe");
    ~ProbeControl() override;

    void OnMouseDown(int x, int y, const IMouseState& mod) override;
    void OnMouseUp(int x, int y, const IMouseState& mod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, const IMouseState& mod) override;
    void OnMouseDblClick(int x, int y, const IMouseState& mod) override;
    void OnMouseOver(int x, int y, const IMouseState& mod) override;
    void OnMouseOut() override;
    void OnKeyDown(int x, int y, int key) override;
    void OnPopupChoice(const char* text, int index) override;
    bool Draw(IGraphics& graphics) override;

    void SetOwner(IControl* o) { owner = o; }
    void SetDblAsPress() { dblAsPress = true; }
    void RequestRedrawWhileDrawing() { redrawInDraw = true; }

    IArgb colour;
    int draws = 0;
    std::string* log;
    std::string name;
    bool redrawInDraw = false;
};

class Editor : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The host's record as text: "B0 P0=0.5 E0".
    std::string Edits() const;
    // Attaches a probe and answers it.
    ProbeControl* Probe(int paramIdx, const IBox& area, IArgb colour = {255, 200, 0, 0}, const char* name = "probe");
    std::uint32_t Pixel(int x, int y) const;
    void Tick(int times = 1);

    vibrascend::host::RecordingComponentHandler handler;
    EditorPlugin* plug = nullptr;
    RecordingGraphics* graphics = nullptr;
    std::string log;
};

// One 32-bit stereo process call of `frames` frames from `in` (both channels) into `out` (both
// channels), with the host's `changes`.
Steinberg::tresult ProcessStereo(IFxVST3& plug, float* in, float* out, int frames,
                                 Steinberg::Vst::IParameterChanges* changes);

inline IMouseState Left() { return IMouseState{true, false, false, false, false}; }
inline IMouseState Right() { return IMouseState{false, true, false, false, false}; }
inline IMouseState Shift() { return IMouseState{false, false, true, false, false}; }
