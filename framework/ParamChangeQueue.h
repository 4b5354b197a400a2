// ParamChangeQueue: parameter indexes handed from the UI side to the audio side without a lock.
// A fixed ring for one producer and one consumer at a time (callers serialise each side); when the
// ring is full the queue notes an overflow instead, and the consumer then applies every
// parameter, so that no change is lost.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

class ParamChangeQueue {
public:
    static constexpr std::uint32_t kCapacity = 256;

    // Producer side.
    void Push(int index);

    // Consumer side: apply(index) for every queued index in order, then, if the ring overflowed
    // since the last drain, apply(i) for every i in 0 .. paramCount - 1.
    template <class Apply>
    void Drain(int paramCount, Apply&& apply)
    {
        // Read first, so that a drain without an overflow costs no atomic exchange.
        const bool overflowed =
            overflow.load(std::memory_order_relaxed) && overflow.exchange(false, std::memory_order_acquire);
        std::uint32_t tail = read.load(std::memory_order_relaxed);
        const std::uint32_t head = written.load(std::memory_order_acquire);
        while (tail != head) {
            const int index = slots[tail % kCapacity];
            read.store(++tail, std::memory_order_release);
            apply(index);
        }
        if (overflowed)
            for (int i = 0; i < paramCount; ++i)
                apply(i);
    }

    bool Empty() const
    {
        return read.load(std::memory_order_acquire) == written.load(std::memory_order_acquire) &&
               !overflow.load(std::memory_order_acquire);
    }

private:
    std::array<int, kCapacity> slots{};
    std::atomic<std::uint32_t> written{0};  // count pushed, moved on by the producer
    std::atomic<std::uint32_t> read{0};  // count taken, moved on by the consumer
    std::atomic<bool> overflow{false};
};
