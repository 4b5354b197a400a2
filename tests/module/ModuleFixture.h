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

    IComponent* Component() const { return component.get(); }
    IAudioProcessor* Processor() const { return processor.get(); }
    IEditController* Controller() const { return controller.get(); }
    IUnitInfo* Units() const { return units.get(); }
    vibrascend::host::RecordingComponentHandler& Handler() { return handler; }

    tresult Setup(double rate, int maxBlock, int32 sampleSize);
    // Sets a parameter through the processor, as host automation does, in a zero-length block.
    void Automate(ParamID id, double normalized);
    double PlainOf(ParamID id, double normalized) { return controller->normalizedParamToPlain(id, normalized); }
    double NormalizedOf(ParamID id, double plain) { return controller->plainParamToNormalized(id, plain); }

    // Processes planar stereo (or mono) buffers in place, in blocks of `block` frames.
    void Run32(std::vector<std::vector<float>>& audio, int block, vibrascend::host::ParameterChanges* first = nullptr);
    void Run64(std::vector<std::vector<double>>& audio, int block, vibrascend::host::ParameterChanges* first = nullptr);

private:
    vibrascend::host::HostApplication host;
    vibrascend::host::RecordingComponentHandler handler;
    IPtr<IComponent> component;
    IPtr<IAudioProcessor> processor;
    IPtr<IEditController> controller;
    IPtr<IUnitInfo> units;
};

}  // namespace module_test
