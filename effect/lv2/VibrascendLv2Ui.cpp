#include "effect/lv2/VibrascendLv2Ui.h"

#include "framework/lv2/Lv2UiEntry.h"

VibrascendLv2Ui::VibrascendLv2Ui() : IFxBase(Declaration()), IFxLV2UI(Declaration()) {}

// The UI the module offers, and how one UI object of it is made.
const char* const kLv2UiUri = VIBRASCEND_LV2_URI "#ui";

IFxLV2UI* CreateLv2UiInstance() { return new VibrascendLv2Ui; }
