#include "HostApplication.h"

#include "TextConvert.h"

namespace vibrascend::host {

using namespace Steinberg;

tresult PLUGIN_API HostApplication::getName(Vst::String128 out)
{
    if (out == nullptr)
        return kInvalidArgument;
    ToString128(name, out);
    return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID, TUID, void** obj)
{
    if (obj != nullptr)
        *obj = nullptr;
    return kNotImplemented;
}

tresult PLUGIN_API HostApplication::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IHostApplication::iid)) {
        *obj = static_cast<Vst::IHostApplication*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

}  // namespace vibrascend::host
