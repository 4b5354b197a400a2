// The host's editor frame where the view's window drives itself (Windows): IPlugFrame alone,
// answering a view's resize request by resizing the view.
#pragma once

#include <pluginterfaces/gui/iplugview.h>

namespace vibrascend::host {

// Owned by the host and kept alive while any view uses it, so reference counting is a no-op.
class PlugFrame final : public Steinberg::IPlugFrame {
public:
    PlugFrame() = default;
    virtual ~PlugFrame() = default;
    PlugFrame(const PlugFrame&) = delete;
    PlugFrame& operator=(const PlugFrame&) = delete;

    // Resize requests the frame has answered.
    int ResizeRequests() const { return resizeRequests; }

    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) override;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    int resizeRequests = 0;
};

}  // namespace vibrascend::host
