// The editor of the effect: a fixed 434 x 480 panel with the background, both LFO sections,
// the five main knobs, the version text, the logo link, and per LFO a band label and a range bar.
#pragma once

#include <memory>

class IFxBase;
class IGraphics;
class LfoReadout;

// Builds the graphics object with every control attached in drawing order; each LFO's band label
// and range bar follow what the effect publishes in its readout (which outlives the editor).
std::unique_ptr<IGraphics> BuildVibrascendEditor(IFxBase& plug, const LfoReadout& lfo1, const LfoReadout& lfo2);

constexpr int kEditorWidth = 434;
constexpr int kEditorHeight = 480;
