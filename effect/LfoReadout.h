// What the editor shows for one LFO, as the effect publishes it: the name of its frequency's band
// and the bar of the gain range it sweeps. The effect writes it whenever it applies a parameter;
// the editor reads it on its own timer. Every field is an atomic, so neither side waits.
#pragma once

#include "graphics/IBox.h"

#include <atomic>
#include <cstdint>

class LfoReadout {
public:
    // `fullBar` is the bar's rectangle before the LFO is first applied.
    explicit LfoReadout(const IBox& fullBar);

    // Takes a new band name (a text of static storage, as BandNameOf answers); counts a label
    // update only when the text differs.
    void ReplaceText(const char* text);
    // Shows the bar at `rect`, or collapses it (right onto left, bottom onto top); either way the
    // bar counts one more redraw.
    void SetBarRect(const IBox& rect);
    void CollapseBar();

    const char* BandName() const { return bandName.load(std::memory_order_acquire); }
    // The bar as last published; a consistent copy even while the effect writes a new one.
    IBox BarRect() const;
    bool BarCollapsed() const;
    // How often the label changed and the bar was marked for redraw: the editor redraws when
    // these move on.
    unsigned LabelChanges() const { return labelChanges.load(std::memory_order_acquire); }
    unsigned BarRedraws() const { return barRedraws.load(std::memory_order_acquire); }

private:
    void StoreBar(const IBox& rect);

    std::atomic<const char*> bandName{""};
    // The bar's edges, guarded by a sequence count that is odd while they are being written.
    std::atomic<std::uint32_t> barSequence{0};
    std::atomic<int> barL;
    std::atomic<int> barT;
    std::atomic<int> barR;
    std::atomic<int> barB;
    std::atomic<unsigned> labelChanges{0};
    std::atomic<unsigned> barRedraws{0};
};
