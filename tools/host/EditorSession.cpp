#include "EditorSession.h"

#include "HostError.h"

#include <cstdint>

using namespace Steinberg;

namespace vibrascend::host {

EditorSession::EditorSession(Vst::IEditController* controller, RunLoopFrame& frame, unsigned long parentWindow)
{
    if (!controller)
        throw HostError("the plug-in has no edit controller");
    view = owned(controller->createView(Vst::ViewType::kEditor));
    if (!view)
        throw HostError("the plug-in has no editor");
    if (view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultTrue)
        throw HostError("the plug-in's editor does not open in X11 windows");
    if (view->getSize(&size) != kResultOk)
        throw HostError("the plug-in's editor has no size");
    view->setFrame(&frame);
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(parentWindow));
    if (view->attached(parent, kPlatformTypeX11EmbedWindowID) != kResultOk) {
        view->setFrame(nullptr);
        throw HostError("the plug-in's editor refused the window");
    }
}

EditorSession::~EditorSession()
{
    view->removed();
    view->setFrame(nullptr);
}

}  // namespace vibrascend::host
