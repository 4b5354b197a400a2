#include "ParameterChanges.h"

#include <algorithm>

namespace vibrascend::host {

using namespace Steinberg;

int32 PLUGIN_API ParamValueQueue::getPointCount() { return static_cast<int32>(points.size()); }

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
    if (index < 0 || static_cast<std::size_t>(index) >= points.size())
        return kResultFalse;
    sampleOffset = points[static_cast<std::size_t>(index)].first;
    value = points[static_cast<std::size_t>(index)].second;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index)
{
    const auto at = std::lower_bound(points.begin(), points.end(), sampleOffset,
                                     [](const auto& point, int32 offset) { return point.first < offset; });
    if (at != points.end() && at->first == sampleOffset) {
        at->second = value;
        index = static_cast<int32>(at - points.begin());
        return kResultOk;
    }
    index = static_cast<int32>(points.insert(at, {sampleOffset, value}) - points.begin());
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IParamValueQueue::iid)) {
        *obj = static_cast<Vst::IParamValueQueue*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

void ParameterChanges::Add(Vst::ParamID id, Vst::ParamValue value, int32 sampleOffset)
{
    int32 index = 0;
    addParameterData(id, index)->addPoint(sampleOffset, value, index);
}

int32 PLUGIN_API ParameterChanges::getParameterCount() { return static_cast<int32>(queues.size()); }

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= queues.size())
        return nullptr;
    return queues[static_cast<std::size_t>(index)].get();
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
    for (std::size_t i = 0; i < queues.size(); ++i) {
        if (queues[i]->getParameterId() == id) {
            index = static_cast<int32>(i);
            return queues[i].get();
        }
    }
    queues.push_back(std::make_unique<ParamValueQueue>(id));
    index = static_cast<int32>(queues.size() - 1);
    return queues.back().get();
}

tresult PLUGIN_API ParameterChanges::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IParameterChanges::iid)) {
        *obj = static_cast<Vst::IParameterChanges*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

}  // namespace vibrascend::host
