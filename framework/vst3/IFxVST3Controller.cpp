// The edit-controller side of IFxVST3: parameters as the host sees them, units, the program
// list, edit notifications and editor views.
#include "framework/vst3/IFxVST3.h"

#include "framework/vst3/IFxParameter.h"
#include "framework/vst3/IFxVST3View.h"

#include "pluginterfaces/base/ustring.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

using Guard = std::lock_guard<platform::RecursiveLock>;

void Widen(const char* text, String128 out)
{
    UString128 wide("");
    wide.fromAscii(text ? text : "");
    wide.copyTo(out, 128);
}

}  // namespace

void IFxVST3::RegisterParameters()
{
    if (NumPresets() > 0) {
        auto* list = new StringListParameter(STR16("Presets"), kPresetListId, nullptr,
                                             ParameterInfo::kIsProgramChange | ParameterInfo::kIsList, kRootUnitId);
        String128 empty{};
        for (int i = 0; i < NumPresets(); ++i)
            list->appendString(empty);
        parameters.addParameter(list);
    }
    paramGroups.Clear();
    for (int i = 0; i < NumParams(); ++i) {
        IParamDef* def = GetParam(i);
        UnitID unit = kRootUnitId;
        if (def->Group()[0]) {
            int found = -1;
            for (int g = 0; g < paramGroups.Count() && found < 0; ++g)
                if (std::strcmp(paramGroups.Get(g), def->Group()) == 0)
                    found = g;
            if (found < 0) {
                paramGroups.Append(const_cast<char*>(def->Group()));
                found = paramGroups.Count() - 1;
            }
            unit = found + 1;
        }
        parameters.addParameter(new IFxParameter(*def, i, unit));
        TakeEffectValue(i, def->Value());
    }
    // After the effect's parameters, so that their positions stay as they were.
    parameters.addParameter(STR16("Bypass"), nullptr, 1, 0.0, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass,
                            kBypassId, kRootUnitId);
}

tresult PLUGIN_API IFxVST3::setComponentState(IBStream*) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
    // The container's own lookup does not check the index.
    if (paramIndex < 0 || paramIndex >= getParameterCount())
        return kResultFalse;
    return SingleComponentEffect::getParameterInfo(paramIndex, info);
}

tresult IFxVST3::readControllerState(IBStream*)
{
    Guard g(Lock());
    return kResultOk;
}

tresult IFxVST3::writeControllerState(IBStream*)
{
    Guard g(Lock());
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::getParamStringByValue(ParamID id, ParamValue normalized, String128 string)
{
    if (id == kBypassId && string && !std::isnan(normalized)) {
        Widen(normalized >= 0.5 ? "On" : "Off", string);
        return kResultOk;
    }
    IParamDef* def = id < static_cast<ParamID>(NumParams()) ? GetParam(static_cast<int>(id)) : nullptr;
    if (!def || !string || std::isnan(normalized))
        return kResultFalse;
    char text[kParamTextSize];
    def->FormatValue(std::clamp(normalized, 0.0, 1.0), true, text);
    Widen(text, string);
    return kResultOk;
}

ParamValue PLUGIN_API IFxVST3::plainParamToNormalized(ParamID id, ParamValue plain)
{
    // Always a position in 0..1: a plain value that is not a number maps to 0.
    if (std::isnan(plain))
        return 0.0;
    if (id == kPresetListId)
        return NumPresets() > 1 ? std::clamp(plain / (NumPresets() - 1), 0.0, 1.0) : 0.0;
    if (id < static_cast<ParamID>(NumParams()))
        return GetParam(static_cast<int>(id))->ToNormalized(plain);
    return std::clamp(plain, 0.0, 1.0);
}

ParamValue PLUGIN_API IFxVST3::normalizedParamToPlain(ParamID id, ParamValue normalized)
{
    // A position outside 0..1 is clamped; one that is not a number counts as 0.
    const double position = std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
    if (id == kPresetListId)
        return static_cast<double>(PresetIndexFromNormalized(position));
    if (id < static_cast<ParamID>(NumParams()))
        return GetParam(static_cast<int>(id))->FromNormalized(position);
    return position;
}

ParamValue PLUGIN_API IFxVST3::getParamNormalized(ParamID id)
{
    DeliverHostNotes();
    if (id == kBypassId)
        return Bypassed() ? 1.0 : 0.0;
    if (id == kPresetListId)
        return NumPresets() > 1 ? static_cast<double>(CurrentPreset()) / (NumPresets() - 1) : 0.0;
    if (id < static_cast<ParamID>(NumParams()))
        return GetParam(static_cast<int>(id))->Normalized();
    return 0.0;
}

tresult PLUGIN_API IFxVST3::setParamNormalized(ParamID id, ParamValue normalized)
{
    if (!std::isfinite(normalized))
        return kResultFalse;
    normalized = std::clamp(normalized, 0.0, 1.0);
    if (id == kBypassId) {
        SetBypassed(normalized != 0.0);
        return kResultOk;
    }
    if (id == kPresetListId)
        return SelectProgramOnUi(PresetIndexFromNormalized(normalized));
    DeliverHostNotes();
    if (id < static_cast<ParamID>(NumParams())) {
        GetParam(static_cast<int>(id))->SetFromNormalized(normalized);
        return kResultOk;
    }
    return kResultFalse;
}

IPlugView* PLUGIN_API IFxVST3::createView(FIDString name)
{
    if (!name || std::strcmp(name, "editor") != 0)
        return nullptr;
    EnsureEditor();
    auto* view = new IFxVST3View(this);
    return view;
}

tresult PLUGIN_API IFxVST3::setKnobMode(KnobMode mode)
{
    hostKnobMode = mode;
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::openHelp(TBool) { return kResultFalse; }

tresult PLUGIN_API IFxVST3::openAboutBox(TBool) { return kResultFalse; }

int32 PLUGIN_API IFxVST3::getUnitCount() { return 1 + paramGroups.Count(); }

tresult PLUGIN_API IFxVST3::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
    if (unitIndex == 0) {
        info.id = kRootUnitId;
        info.parentUnitId = kNoParentUnitId;
        Widen("Root Unit", info.name);
        info.programListId = kPresetListId;
        return kResultOk;
    }
    if (unitIndex < 0 || paramGroups.Count() == 0)
        return kResultFalse;
    info.id = unitIndex;
    info.parentUnitId = kRootUnitId;
    const char* group = paramGroups.Get(unitIndex - 1);
    Widen(group ? group : "", info.name);
    info.programListId = kNoProgramListId;
    return kResultOk;
}

int32 PLUGIN_API IFxVST3::getProgramListCount() { return NumPresets() > 0 ? 1 : 0; }

tresult PLUGIN_API IFxVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
    if (listIndex != 0 || NumPresets() <= 0)
        return kResultFalse;
    info.id = kPresetListId;
    Widen("Factory Presets", info.name);
    info.programCount = NumPresets();
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::getProgramName(ProgramListID listId, int32 programIndex, String128 name)
{
    if (listId != static_cast<ProgramListID>(kPresetListId) || programIndex < 0 || programIndex >= NumPresets() ||
        !name)
        return kInvalidArgument;
    // A slot the audio side selected for the first time gets its name here, and the host hears of it.
    DeliverHostNotes();
    Guard g(Lock());
    Widen(PresetName(programIndex), name);
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::getProgramInfo(ProgramListID listId, int32 programIndex, Vst::CString, String128)
{
    if (listId != static_cast<ProgramListID>(kPresetListId) || programIndex < 0 || programIndex >= NumPresets())
        return kInvalidArgument;
    DeliverHostNotes();
    // The programs carry no attributes.
    return kNotImplemented;
}

tresult PLUGIN_API IFxVST3::hasProgramPitchNames(ProgramListID, int32) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::getProgramPitchName(ProgramListID, int32, int16, String128) { return kNotImplemented; }

UnitID PLUGIN_API IFxVST3::getSelectedUnit() { return kRootUnitId; }

tresult PLUGIN_API IFxVST3::selectUnit(UnitID) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::setUnitProgramData(int32, int32, IBStream*) { return kNotImplemented; }

bool IFxVST3::BeginParamEdit(int index)
{
    return componentHandler && componentHandler->beginEdit(static_cast<ParamID>(index)) == kResultOk;
}

bool IFxVST3::PerformParamEdit(int index, double normalized)
{
    return componentHandler && componentHandler->performEdit(static_cast<ParamID>(index), normalized) == kResultOk;
}

bool IFxVST3::EndParamEdit(int index)
{
    return componentHandler && componentHandler->endEdit(static_cast<ParamID>(index)) == kResultOk;
}

void IFxVST3::ResizeEditorWindow(int width, int height)
{
    if (!Editor() || views.empty())
        return;
    IFxVST3View* view = views.front();
    if (!view->Frame())
        return;
    ViewRect rect(0, 0, width, height);
    view->Frame()->resizeView(view, &rect);
}

void IFxVST3::AddView(IFxVST3View* view) { views.push_back(view); }

void IFxVST3::RemoveView(IFxVST3View* view) { views.erase(std::remove(views.begin(), views.end(), view), views.end()); }

IFxVST3View* IFxVST3::View(int index) const
{
    return index >= 0 && index < NumViews() ? views[static_cast<size_t>(index)] : nullptr;
}
