// Where the editor draws an LFO's range bar: a row of the editor, 160 pixels wide, on which
// 80.213806 pixels per unit of linear gain map the whole gain range from the bar's left edge.
#pragma once

#include "effect/LfoReadout.h"
#include "graphics/IBox.h"

// The full bar of LFO 1 (slot 0) and LFO 2 (slot 1).
constexpr IBox kLfoBarAreas[2] = {IBox{33, 327, 193, 333}, IBox{239, 327, 399, 333}};

// The bar of a swept range inside `area`; a range that sweeps nothing collapses `shown` (the bar
// as drawn now) right onto its left edge and bottom onto its top.
IBox LfoBarRect(const IBox& area, const LfoSweptRange& range, const IBox& shown);
