#include "ComponentHandler.h"

namespace vibrascend::host {

using namespace Steinberg;

tresult PLUGIN_API RecordingComponentHandler::beginEdit(Vst::ParamID id)
{
    edits.push_back({EditEvent::Kind::Begin, id, 0.0});
    return kResultOk;
}

tresult PLUGIN_API RecordingComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue value)
{
    edits.push_back({EditEvent::Kind::Perform, id, value});
    return kResultOk;
}

tresult PLUGIN_API RecordingComponentHandler::endEdit(Vst::ParamID id)
{
    edits.push_back({EditEvent::Kind::End, id, 0.0});
    return kResultOk;
}

tresult PLUGIN_API RecordingComponentHandler::restartComponent(int32 flags)
{
    restarts.push_back(flags);
    return kResultOk;
}

tresult PLUGIN_API RecordingComponentHandler::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IComponentHandler::iid)) {
        *obj = static_cast<Vst::IComponentHandler*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

}  // namespace vibrascend::host
