#include "effect/LfoReadout.h"

#include <cstring>

void LfoReadout::ReplaceText(const char* text)
{
    if (!text || std::strcmp(text, BandName()) == 0)
        return;
    bandName.store(text, std::memory_order_release);
    labelChanges.fetch_add(1, std::memory_order_release);
}

void LfoReadout::StoreRange(const LfoSweptRange& range)
{
    // One writer at a time (the thread applying parameters); readers retry while the count is odd
    // or moved on during their read.
    const std::uint32_t sequence = rangeSequence.load(std::memory_order_relaxed);
    rangeSequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    low.store(range.low, std::memory_order_relaxed);
    high.store(range.high, std::memory_order_relaxed);
    sweeping.store(range.sweeping, std::memory_order_relaxed);
    rangeSequence.store(sequence + 2, std::memory_order_release);
    rangeChanges.fetch_add(1, std::memory_order_release);
}

void LfoReadout::SetRange(float from, float to) { StoreRange(LfoSweptRange{from, to, true}); }

void LfoReadout::ClearRange() { StoreRange(LfoSweptRange{}); }

LfoSweptRange LfoReadout::Range() const
{
    while (true) {
        const std::uint32_t before = rangeSequence.load(std::memory_order_acquire);
        const LfoSweptRange range{low.load(std::memory_order_relaxed), high.load(std::memory_order_relaxed),
                                  sweeping.load(std::memory_order_relaxed)};
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1u) == 0 && rangeSequence.load(std::memory_order_relaxed) == before)
            return range;
    }
}
