// The LV2 module's exported entry point: the descriptor of the one plug-in it carries, whose C
// callbacks forward to the plug-in object (IFxLV2) the effect creates.
#include "framework/lv2/Lv2Entry.h"

#include "framework/ModuleInstance.h"
#include "framework/lv2/IFxLV2.h"
#include "platform/ModuleInfo.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <cstring>
#include <memory>

namespace {

IFxLV2* PluginOf(LV2_Handle instance) { return static_cast<IFxLV2*>(instance); }

LV2_Handle Instantiate(const LV2_Descriptor* descriptor, double rate, const char*,
                       const LV2_Feature* const* features)
{
    // The module's resources are found by its handle (the editor's images).
    if (!ModuleInstance())
        SetModuleInstance(ModuleHandleOf(reinterpret_cast<const void*>(&Instantiate)));
    try {
        std::unique_ptr<IFxLV2> plugin(CreateLv2PluginInstance());
        if (!plugin || !plugin->Instantiate(descriptor ? descriptor->URI : kLv2PluginUri, rate, features))
            return nullptr;
        return plugin.release();
    } catch (...) {
        return nullptr;
    }
}

void ConnectPort(LV2_Handle instance, uint32_t port, void* location) { PluginOf(instance)->ConnectPort(port, location); }

void Activate(LV2_Handle instance) { PluginOf(instance)->Activate(); }

void Run(LV2_Handle instance, uint32_t frames) { PluginOf(instance)->Run(frames); }

void Deactivate(LV2_Handle instance) { PluginOf(instance)->Deactivate(); }

void Cleanup(LV2_Handle instance) { delete PluginOf(instance); }

LV2_State_Status Save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                      const LV2_Feature* const* features)
{
    return PluginOf(instance)->SaveLv2State(store, handle, features);
}

LV2_State_Status Restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                         uint32_t, const LV2_Feature* const* features)
{
    return PluginOf(instance)->RestoreLv2State(retrieve, handle, features);
}

const void* ExtensionData(const char* uri)
{
    static const LV2_State_Interface state = {Save, Restore};
    if (uri && std::strcmp(uri, LV2_STATE__interface) == 0)
        return &state;
    return nullptr;
}

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    static const LV2_Descriptor descriptor = {
        kLv2PluginUri, Instantiate, ConnectPort, Activate, Run, Deactivate, Cleanup, ExtensionData,
    };
    return index == 0 ? &descriptor : nullptr;
}
