// The editor of the effect: a fixed 434 x 480 panel with the background, both LFO sections,
// the five main knobs, the version text, the logo link, and per LFO a band label and a range bar.
#pragma once

class IFxBase;
class IDrawRect;
class ITextControl;

// The controls the effect itself updates; they belong to the graphics object.
struct EditorLfoControls {
    ITextControl* bandLabel[2] = {nullptr, nullptr};
    IDrawRect* rangeBar[2] = {nullptr, nullptr};
};

// Builds the graphics object with every control attached in drawing order, hands it to the
// plug-in, and reports the band labels and range bars through `lfoControls`.
void BuildVibrascendEditor(IFxBase* plug, EditorLfoControls& lfoControls);

constexpr int kEditorWidth = 434;
constexpr int kEditorHeight = 480;
