// ParamChangeQueue: parameter values handed from the UI side to the audio side without a lock.
// A fixed ring for one producer and one consumer at a time (callers serialise each side). A
// producer stages the values of one change and publishes them together, so the consumer takes a
// change whole or not at all. When the ring cannot hold a change the queue notes an overflow
// instead, and the consumer then takes every parameter's value in force, so that no change is
// lost (as soon as it can read them consistently).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

class ParamChangeQueue {
public:
    static constexpr std::uint32_t kCapacity = 256;

    // Producer side: Stage any number of values, then Publish them as one change.
    void Stage(int index, double value);
    void Publish();
    void Push(int index, double value)
    {
        Stage(index, value);
        Publish();
    }

    // Consumer side: apply(index, value) for every published value in order, then, if the ring
    // overflowed since the last drain, applyAllInForce(), which answers false when it could not
    // take the values now (the overflow then stays noted for the next drain).
    template <class Apply, class ApplyAllInForce>
    void Drain(Apply&& apply, ApplyAllInForce&& applyAllInForce)
    {
        // Read first, so that a drain without an overflow costs no atomic exchange.
        const bool overflowed =
            overflow.load(std::memory_order_relaxed) && overflow.exchange(false, std::memory_order_acquire);
        std::uint32_t tail = read.load(std::memory_order_relaxed);
        const std::uint32_t head = written.load(std::memory_order_acquire);
        while (tail != head) {
            const Entry entry = slots[tail % kCapacity];
            read.store(++tail, std::memory_order_release);
            apply(entry.index, entry.value);
        }
        if (overflowed && !applyAllInForce())
            overflow.store(true, std::memory_order_release);
    }

    bool Empty() const
    {
        return read.load(std::memory_order_acquire) == written.load(std::memory_order_acquire) &&
               !overflow.load(std::memory_order_acquire);
    }

private:
    struct Entry {
        int index = 0;
        double value = 0.0;
    };

    std::array<Entry, kCapacity> slots{};
    std::atomic<std::uint32_t> written{0};  // count published, moved on by the producer
    std::atomic<std::uint32_t> read{0};  // count taken, moved on by the consumer
    std::atomic<bool> overflow{false};
    // Producer only: values staged since the last Publish, and whether they did not all fit.
    std::uint32_t staged = 0;
    bool stagedOverflow = false;
};
