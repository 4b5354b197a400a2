// The factory presets: "---- default ----" followed by a catalogue of named frequencies
// (brain-wave, chakra, Schumann, planetary, healing and Solfeggio rates) for LFO 1.
#pragma once

#include <cstddef>
#include <span>

class IFxBase;

struct CataloguePreset {
    const char* name;
    double hz;  // the rate of LFO 1
};

constexpr std::size_t kCataloguePresetCount = 116;

// The named frequencies, in preset order from preset 1.
std::span<const CataloguePreset> PresetCatalogue();

// Defines preset 0 "---- default ----" (no stored values) and then one preset per catalogue
// entry, in the first free preset slots of `plugin`.
void DefineFactoryPresets(IFxBase& plugin);
