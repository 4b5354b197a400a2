// The host's component handler: records the edit gestures and restart requests a plug-in sends.
#pragma once

#include <pluginterfaces/vst/ivsteditcontroller.h>

#include <vector>

namespace vibrascend::host {

struct EditEvent {
    enum class Kind {
        Begin,
        Perform,
        End
    };
    Kind kind;
    Steinberg::Vst::ParamID id;
    Steinberg::Vst::ParamValue value;  // only meaningful for Perform
};

// Owned by the host and kept alive until the plug-in is released, so reference counting is a no-op.
class RecordingComponentHandler final : public Steinberg::Vst::IComponentHandler {
public:
    virtual ~RecordingComponentHandler() = default;

    const std::vector<EditEvent>& Edits() const { return edits; }
    const std::vector<Steinberg::int32>& RestartRequests() const { return restarts; }

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<EditEvent> edits;
    std::vector<Steinberg::int32> restarts;
};

}  // namespace vibrascend::host
