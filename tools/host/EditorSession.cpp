#include "EditorSession.h"

#include "HostError.h"

#include <string>

using namespace Steinberg;

namespace vibrascend::host {

EditorSession::EditorSession(Vst::IEditController* controller, IPlugFrame& frame, void* parentWindow,
                             FIDString platformType)
{
    if (!controller)
        throw HostError("the plug-in has no edit controller");
    view = owned(controller->createView(Vst::ViewType::kEditor));
    if (!view)
        throw HostError("the plug-in has no editor");
    if (view->isPlatformTypeSupported(platformType) != kResultTrue)
        throw HostError(std::string("the plug-in's editor does not open in windows of type ") + platformType);
    if (view->getSize(&size) != kResultOk)
        throw HostError("the plug-in's editor has no size");
    view->setFrame(&frame);
    if (view->attached(parentWindow, platformType) != kResultOk) {
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
