// Program changes of IFxVST3 and what the host hears of them: the controller's values follow the
// loaded preset, and the host is told from the UI thread only, never from the audio thread.
#include "framework/vst3/IFxVST3.h"

#include "framework/HostKind.h"

#include "pluginterfaces/vst/ivstunits.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Bits of IFxVST3::hostNotes.
constexpr int kNoteValuesChanged = 1;  // parameter values changed: restartComponent
constexpr int kNoteNamesChanged = 2;   // a slot may have been named: notifyProgramListChange

}  // namespace

tresult IFxVST3::SelectProgramOnUi(int index)
{
    if (index < 0 || index >= NumPresets())
        return kResultFalse;
    if (index != CurrentPreset()) {
        // Staged and handed to the audio side as one change; the values are in force at once.
        if (!LoadPreset(index))
            return kResultFalse;
        hostNotes.fetch_or(kNoteValuesChanged | kNoteNamesChanged, std::memory_order_acq_rel);
    }
    DeliverHostNotes();
    return kResultOk;
}

void IFxVST3::SelectProgramOnAudio(int index)
{
    const PresetSlot* slot = presets.Get(index);
    if (!slot || index == CurrentPreset())
        return;
    const bool holdsValues = slot->initialised;
    if (!LoadPresetOnAudio(index))
        return;
    hostNotes.fetch_or(holdsValues ? kNoteValuesChanged : kNoteNamesChanged, std::memory_order_release);
}

void IFxVST3::DeliverHostNotes()
{
    const int notes = hostNotes.exchange(0, std::memory_order_acq_rel);
    if (notes == 0)
        return;
    const std::vector<int> renamed = (notes & kNoteNamesChanged) ? TakeRenamedPresets() : std::vector<int>{};
    if (!componentHandler)
        return;
    if (notes & kNoteValuesChanged)
        TellHostValuesChanged();
    if (renamed.empty())
        return;
    FUnknownPtr<IUnitHandler> units(componentHandler);
    if (!units)
        return;
    for (const int index : renamed)
        units->notifyProgramListChange(kPresetListId, index);
}

void IFxVST3::TellHostValuesChanged()
{
    // Ardour holds its process lock while it sends a program change from its own list, and takes
    // the same lock again in restartComponent: asked to restart from there, it would wait for
    // itself for good. It takes an edit as a new value of its control, under no lock.
    if (HostKind() != kHostArdour) {
        componentHandler->restartComponent(kParamValuesChanged);
        return;
    }
    for (int i = 0; i < NumParams(); ++i)
        componentHandler->performEdit(static_cast<ParamID>(i), GetParam(i)->Normalized());
}
