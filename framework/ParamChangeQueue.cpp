#include "framework/ParamChangeQueue.h"

void ParamChangeQueue::Stage(int index)
{
    const std::uint32_t at = written.load(std::memory_order_relaxed) + staged;
    if (stagedOverflow || at - read.load(std::memory_order_acquire) >= kCapacity) {
        stagedOverflow = true;
        return;
    }
    slots[at % kCapacity] = index;
    ++staged;
}

void ParamChangeQueue::Publish()
{
    // A change that did not fit is not published in part: the overflow makes the consumer take
    // every parameter, this change's included.
    if (stagedOverflow)
        overflow.store(true, std::memory_order_release);
    else if (staged > 0)
        written.store(written.load(std::memory_order_relaxed) + staged, std::memory_order_release);
    staged = 0;
    stagedOverflow = false;
}
