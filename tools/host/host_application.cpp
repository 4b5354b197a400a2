#include "host_application.h"

#include "text_convert.h"

namespace vibrascend::host {

using namespace Steinberg;

tresult PLUGIN_API HostApplication::getName(Vst::String128 name) {
    if (name == nullptr) return kInvalidArgument;
    toString128(name_, name);
    return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID, TUID, void** obj) {
    if (obj != nullptr) *obj = nullptr;
    return kNotImplemented;
}

tresult PLUGIN_API HostApplication::queryInterface(const TUID iid, void** obj) {
    if (obj == nullptr) return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IHostApplication::iid)) {
        *obj = static_cast<Vst::IHostApplication*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

}  // namespace vibrascend::host
