// The module's LV2 UI entry point: one X11 UI, whose callbacks reach the UI object the effect
// creates. Nothing thrown inside reaches the host: a UI that cannot be made is refused (null).
#include "framework/lv2/Lv2UiEntry.h"

#include "framework/lv2/IFxLV2UI.h"

#include "lv2/core/lv2.h"
#include "lv2/ui/ui.h"

#include <cstring>
#include <memory>

namespace {

IFxLV2UI* UiOf(LV2UI_Handle handle) { return static_cast<IFxLV2UI*>(handle); }

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char*, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    try {
        std::unique_ptr<IFxLV2UI> ui(CreateLv2UiInstance());
        if (!ui || !ui->Open(write, controller, features, widget))
            return nullptr;
        return ui.release();
    } catch (...) {
        return nullptr;
    }
}

void Cleanup(LV2UI_Handle handle)
{
    std::unique_ptr<IFxLV2UI> ui(UiOf(handle));
    if (ui)
        ui->Close();
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    if (IFxLV2UI* ui = UiOf(handle))
        ui->PortEvent(port, size, format, buffer);
}

int Idle(LV2UI_Handle handle) { return UiOf(handle) ? UiOf(handle)->Idle() : 1; }

int Show(LV2UI_Handle handle) { return UiOf(handle) ? UiOf(handle)->Show(true) : 1; }

int Hide(LV2UI_Handle handle) { return UiOf(handle) ? UiOf(handle)->Show(false) : 1; }

const LV2UI_Idle_Interface kIdleInterface{Idle};
const LV2UI_Show_Interface kShowInterface{Show, Hide};

const void* ExtensionData(const char* uri)
{
    if (!uri)
        return nullptr;
    if (std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &kIdleInterface;
    if (std::strcmp(uri, LV2_UI__showInterface) == 0)
        return &kShowInterface;
    return nullptr;
}

}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    static const LV2UI_Descriptor descriptor{kLv2UiUri, Instantiate, Cleanup, PortEvent, ExtensionData};
    return index == 0 ? &descriptor : nullptr;
}
