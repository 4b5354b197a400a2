// The host context handed to the plug-in's initialize: names the host, creates no objects.
#pragma once

#include <pluginterfaces/vst/ivsthostapplication.h>

#include <string>

namespace vibrascend::host {

// Owned by the host and kept alive until the plug-in is released, so reference counting is a no-op.
class HostApplication final : public Steinberg::Vst::IHostApplication {
public:
    explicit HostApplication(std::string hostName) : name(std::move(hostName)) {}
    virtual ~HostApplication() = default;

    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid, void** obj) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::string name;
};

}  // namespace vibrascend::host
