// One open editor of a plug-in: the view the controller creates for "editor", attached to a
// window of the host (of the given platform type) through the host's frame, and removed and
// released again when the session ends. Throws HostError when the plug-in has no editor for
// windows of that type.
#pragma once

#include <pluginterfaces/base/smartpointer.h>
#include <pluginterfaces/gui/iplugview.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>

namespace vibrascend::host {

class EditorSession {
public:
    EditorSession(Steinberg::Vst::IEditController* controller, Steinberg::IPlugFrame& frame, void* parentWindow,
                  Steinberg::FIDString platformType);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // The size the view asks for.
    Steinberg::ViewRect Size() const { return size; }
    Steinberg::IPlugView* View() const { return view.get(); }

private:
    Steinberg::IPtr<Steinberg::IPlugView> view;
    Steinberg::ViewRect size;
};

}  // namespace vibrascend::host
