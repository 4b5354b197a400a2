// What the editor shows for one LFO, as the effect publishes it: the name of its frequency's band
// and the range of gain it sweeps, in linear gain (the editor turns it into pixels). The effect
// writes it whenever it applies a parameter; the editor reads it on its own timer. Every field is
// an atomic, so neither side waits.
#pragma once

#include <atomic>
#include <cstdint>

// The gain range an LFO sweeps, from centre - amplitude to centre + amplitude; `sweeping` is false
// while the LFO drives no gain.
struct LfoSweptRange {
    float low = 0.0f;
    float high = 0.0f;
    bool sweeping = false;
};

class LfoReadout {
public:
    // Takes a new band name (a text of static storage, as BandNameOf answers); counts a label
    // update only when the text differs.
    void ReplaceText(const char* text);
    // Publishes the range swept, or that none is; either way the range counts one more change.
    void SetRange(float low, float high);
    void ClearRange();

    const char* BandName() const { return bandName.load(std::memory_order_acquire); }
    // The range as last published; a consistent copy even while the effect writes a new one.
    LfoSweptRange Range() const;
    // How often the label and the range changed: the editor redraws when these move on. While
    // RangeChanges is 0 nothing was published yet.
    unsigned LabelChanges() const { return labelChanges.load(std::memory_order_acquire); }
    unsigned RangeChanges() const { return rangeChanges.load(std::memory_order_acquire); }

private:
    void StoreRange(const LfoSweptRange& range);

    std::atomic<const char*> bandName{""};
    // The range's fields, guarded by a sequence count that is odd while they are being written.
    std::atomic<std::uint32_t> rangeSequence{0};
    std::atomic<float> low{0.0f};
    std::atomic<float> high{0.0f};
    std::atomic<bool> sweeping{false};
    std::atomic<unsigned> labelChanges{0};
    std::atomic<unsigned> rangeChanges{0};
};
