// Parameter-change lists handed to process(): one queue of (offset, value) points per parameter id.
#pragma once

#include <pluginterfaces/vst/ivstparameterchanges.h>

#include <memory>
#include <utility>
#include <vector>

namespace vibrascend::host {

// Points stay sorted by sample offset; a point at an offset already present replaces it.
// Owned by its ParameterChanges; reference counting is a no-op.
class ParamValueQueue final : public Steinberg::Vst::IParamValueQueue {
public:
    explicit ParamValueQueue(Steinberg::Vst::ParamID parameterId) : id(parameterId) {}
    virtual ~ParamValueQueue() = default;

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    Steinberg::int32 PLUGIN_API getPointCount() override;
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) override;
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    Steinberg::Vst::ParamID id;
    std::vector<std::pair<Steinberg::int32, Steinberg::Vst::ParamValue>> points;
};

// Owned by the host for the length of a process call (or a whole render); reference counting is a no-op.
class ParameterChanges final : public Steinberg::Vst::IParameterChanges {
public:
    virtual ~ParameterChanges() = default;

    // Host side: queue `value` for `id` at `sampleOffset` (a new queue is opened when needed).
    void Add(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value, Steinberg::int32 sampleOffset = 0);
    void Clear() { queues.clear(); }

    Steinberg::int32 PLUGIN_API getParameterCount() override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<std::unique_ptr<ParamValueQueue>> queues;
};

}  // namespace vibrascend::host
