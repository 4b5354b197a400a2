// The LV2 UI binding of the plug-in base: a plug-in object of its own on the UI side (the host
// may run it in another process than the audio side), which shows the effect's editor as an X11
// child of the host's window and never processes audio. Its parameters follow the host's port
// events, and the effect takes them on this side, so the editor's controls and LFO displays show
// what the host's ports hold; the editor's edits go to the host's ports through the write
// function, bracketed by ui:touch gestures where the host offers them.
#pragma once

#include "framework/IFxBase.h"
#include "framework/lv2/Lv2IdleLoop.h"

#include "lv2/core/lv2.h"
#include "lv2/ui/ui.h"

#include <chrono>
#include <cstdint>
#include <vector>

class IFxLV2UI : public virtual IFxBase {
public:
    // Ports 0..3 are audio; the parameters follow in index order, then the plug-in's "enabled".
    static constexpr std::uint32_t kFirstParamPort = 4;

    explicit IFxLV2UI(const IFxDeclaration& declaration);
    ~IFxLV2UI() override;

    // The host's side of instantiate: takes the write function and the features, opens the
    // editor as a child of ui:parent, tells ui:resize its size and answers the X window id as the
    // widget. False, with nothing open, without ui:parent or when the window cannot open.
    bool Open(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2_Feature* const* features,
              LV2UI_Widget* widget);
    // Closes the editor's window; harmless when it is not open.
    void Close();
    // A control port's value in plain units (format 0, one float). It becomes the value in force
    // (clamped and stepped as a host edit) and the editor shows it at its next frame. Nothing
    // changes for the host's reflections of what this side wrote (even late ones, of values the
    // user has dragged past), for a value of a control the user is holding, for other ports,
    // formats and sizes, and for values that are not finite.
    void PortEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer);
    // One run of the editor's loop; non-zero once the window is closed (its parent destroyed or
    // never opened).
    int Idle();
    // Maps or unmaps the open window: 0 on success, non-zero without one.
    int Show(bool shown);

    // Host-facing operations: the editor's edits go to the host's ports.
    bool BeginParamEdit(int index) override;
    bool PerformParamEdit(int index, double normalized) override;
    bool EndParamEdit(int index) override;
    void ResizeEditorWindow(int width, int height) override;

private:
    // The effect takes every value in force on this side (what it shows before any port event),
    // as a VST3 controller's effect does when it is initialised.
    void TakeValuesInForce();
    bool Touch(int index, bool grabbed);

    LV2UI_Write_Function writeFunction = nullptr;
    LV2UI_Controller controller = nullptr;
    const LV2UI_Resize* resize = nullptr;
    const LV2UI_Touch* touch = nullptr;
    Lv2IdleLoop idleLoop;
    // Per parameter: the user holds its control (between the begin and end of an edit).
    std::vector<bool> held;
    // Per parameter: the values written to the host in the last kReflectionTime that it has not
    // reflected yet, oldest first. Hosts that reflect do so in order and soon; many never do, and
    // then a host value equal to one written long ago must still count as the host's.
    struct Written {
        float value;
        std::chrono::steady_clock::time_point when;
    };
    static constexpr std::chrono::seconds kReflectionTime{2};
    static constexpr size_t kMaxUnreflected = 64;
    std::vector<std::vector<Written>> unreflected;
};
