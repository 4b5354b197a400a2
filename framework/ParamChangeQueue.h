// ParamChangeQueue: the indexes of parameters the UI side changed, handed to the audio side
// without a lock. A fixed ring for one producer and one consumer at a time (callers serialise
// each side). A producer stages the indexes of one change and publishes them together; the
// consumer takes every index published up to a point it chooses. When the ring cannot hold a
// change the queue notes an overflow instead, and the consumer then takes every parameter.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

class ParamChangeQueue {
public:
    static constexpr std::uint32_t kCapacity = 256;

    // Producer side: Stage any number of indexes, then Publish them as one change.
    void Stage(int index);
    void Publish();
    void Push(int index)
    {
        Stage(index);
        Publish();
    }

    // Consumer side. The count published so far, to take up to.
    std::uint32_t Published() const { return written.load(std::memory_order_acquire); }
    // take(index) for every index published before `head`, in order.
    template <class Take>
    void TakeUpTo(std::uint32_t head, Take&& take)
    {
        std::uint32_t tail = read.load(std::memory_order_relaxed);
        while (tail != head) {
            const int index = slots[tail % kCapacity];
            read.store(++tail, std::memory_order_release);
            take(index);
        }
    }
    // Whether the ring overflowed since the last time this answered true.
    bool TakeOverflow()
    {
        return overflow.load(std::memory_order_relaxed) && overflow.exchange(false, std::memory_order_acquire);
    }
    // Puts back an overflow the consumer took but could not act on.
    void KeepOverflow() { overflow.store(true, std::memory_order_release); }

    bool Empty() const
    {
        return read.load(std::memory_order_acquire) == written.load(std::memory_order_acquire) &&
               !overflow.load(std::memory_order_acquire);
    }

private:
    std::array<int, kCapacity> slots{};
    std::atomic<std::uint32_t> written{0};  // count published, moved on by the producer
    std::atomic<std::uint32_t> read{0};  // count taken, moved on by the consumer
    std::atomic<bool> overflow{false};
    // Producer only: indexes staged since the last Publish, and whether they did not all fit.
    std::uint32_t staged = 0;
    bool stagedOverflow = false;
};
