// The host's view of one parameter: forwards the VST3 conversions to its IParamDef.
#pragma once

#include "framework/IParamDef.h"

#include "public.sdk/source/vst/vstparameters.h"

class IFxParameter : public Steinberg::Vst::Parameter {
public:
    IFxParameter(const IParamDef& definition, int index, Steinberg::Vst::UnitID unitId);

    void toString(Steinberg::Vst::ParamValue normalized, Steinberg::Vst::String128 string) const override;
    bool fromString(const Steinberg::Vst::TChar* string, Steinberg::Vst::ParamValue& normalized) const override;
    Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const override;
    Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plain) const override;

    OBJ_METHODS(IFxParameter, Parameter)

private:
    const IParamDef& definition;
};
