// Loads the built bundle as a host does and drives one plug-in instance through its VST3
// interfaces only.
#pragma once

#include "BundleModule.h"
#include "ComponentHandler.h"
#include "HostApplication.h"
#include "ParameterChanges.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace module_test {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr ParamID kPresetList = 0x70727374;
constexpr ParamID kBypass = 0x62706173;

inline std::string Ascii(const TChar* s)
{
    char text[129] = {};
    UString(const_cast<TChar*>(s), 128).toAscii(text, 129);
    return text;
}

// The module stays loaded for the whole test program: hosts keep it loaded while instances live.
vibrascend::host::BundleModule& Module();

class Instance {
public:
    explicit Instance(const std::string& hostName = "module-test");
    ~Instance();

    IComponent* component() const { return component_.get(); }
    IAudioProcessor* processor() const { return processor_.get(); }
    IEditController* controller() const { return controller_.get(); }
    IUnitInfo* units() const { return units_.get(); }
    vibrascend::host::RecordingComponentHandler& handler() { return handler_; }

    tresult Setup(double rate, int maxBlock, int32 sampleSize);
    // Sets a parameter through the processor, as host automation does, in a zero-length block.
    void Automate(ParamID id, double normalized);
    double PlainOf(ParamID id, double normalized) { return controller_->normalizedParamToPlain(id, normalized); }
    double NormalizedOf(ParamID id, double plain) { return controller_->plainParamToNormalized(id, plain); }

    // Processes planar stereo (or mono) buffers in place, in blocks of `block` frames.
    void Run32(std::vector<std::vector<float>>& audio, int block, vibrascend::host::ParameterChanges* first = nullptr);
    void Run64(std::vector<std::vector<double>>& audio, int block, vibrascend::host::ParameterChanges* first = nullptr);

private:
    vibrascend::host::HostApplication host_;
    vibrascend::host::RecordingComponentHandler handler_;
    IPtr<IComponent> component_;
    IPtr<IAudioProcessor> processor_;
    IPtr<IEditController> controller_;
    IPtr<IUnitInfo> units_;
};

} // namespace module_test
