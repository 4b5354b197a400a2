#include "framework/ParamChangeQueue.h"

void ParamChangeQueue::Push(int index)
{
    const std::uint32_t head = written.load(std::memory_order_relaxed);
    if (head - read.load(std::memory_order_acquire) >= kCapacity) {
        overflow.store(true, std::memory_order_release);
        return;
    }
    slots[head % kCapacity] = index;
    written.store(head + 1, std::memory_order_release);
}
