#include "effect/LfoReadout.h"

#include <cstring>

LfoReadout::LfoReadout(const IBox& fullBar) : barL(fullBar.L), barT(fullBar.T), barR(fullBar.R), barB(fullBar.B) {}

void LfoReadout::ReplaceText(const char* text)
{
    if (!text || std::strcmp(text, BandName()) == 0)
        return;
    bandName.store(text, std::memory_order_release);
    // One writer at a time: a plain increment, without the cost of a locked one.
    labelChanges.store(labelChanges.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

void LfoReadout::StoreBar(const IBox& rect)
{
    // One writer at a time (the thread applying parameters); readers retry while the count is odd
    // or moved on during their read.
    const std::uint32_t sequence = barSequence.load(std::memory_order_relaxed);
    barSequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    barL.store(rect.L, std::memory_order_relaxed);
    barT.store(rect.T, std::memory_order_relaxed);
    barR.store(rect.R, std::memory_order_relaxed);
    barB.store(rect.B, std::memory_order_relaxed);
    barSequence.store(sequence + 2, std::memory_order_release);
    barRedraws.store(barRedraws.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

void LfoReadout::SetBarRect(const IBox& rect) { StoreBar(rect); }

void LfoReadout::CollapseBar()
{
    IBox bar = BarRect();
    bar.R = bar.L;
    bar.B = bar.T;
    StoreBar(bar);
}

IBox LfoReadout::BarRect() const
{
    while (true) {
        const std::uint32_t before = barSequence.load(std::memory_order_acquire);
        const IBox bar{barL.load(std::memory_order_relaxed), barT.load(std::memory_order_relaxed),
                       barR.load(std::memory_order_relaxed), barB.load(std::memory_order_relaxed)};
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1u) == 0 && barSequence.load(std::memory_order_relaxed) == before)
            return bar;
    }
}

bool LfoReadout::BarCollapsed() const
{
    const IBox bar = BarRect();
    return bar.R == bar.L && bar.B == bar.T;
}
