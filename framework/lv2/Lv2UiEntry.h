// What the LV2 UI entry point (lv2ui_descriptor, compiled into the module only) needs from the
// effect: the UI's URI and a way to create one UI object.
#pragma once

class IFxLV2UI;

// Both are defined by the effect that the module carries.
extern const char* const kLv2UiUri;
IFxLV2UI* CreateLv2UiInstance();
