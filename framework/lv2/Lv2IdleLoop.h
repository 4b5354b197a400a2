// Lv2IdleLoop: the editor window's run loop in an LV2 UI. LV2 hosts give a UI no run loop to
// register with; they call the UI's idle() often instead. Each call looks at the recorded
// descriptor without waiting and counts the timer's periods on the steady clock.
#pragma once

#include "platform/linux/EditorRunLoop.h"

#include <chrono>

class Lv2IdleLoop final : public IEditorRunLoop {
public:
    bool Start(int fd, int periodMs, IEditorRunLoopClient* client) override;
    void Stop() override;

    // One idle call: the client hears of input waiting on the descriptor, then of the timer when a
    // period has passed since its last tick. A tick first takes up input the connection may
    // already have read off the descriptor while drawing, so no event waits longer than a frame.
    // Periods missed between calls make one tick, not a burst.
    void Idle();
    bool Running() const { return client != nullptr; }

private:
    using Clock = std::chrono::steady_clock;

    int descriptor = -1;
    Clock::duration period{};
    Clock::time_point nextTick{};
    IEditorRunLoopClient* client = nullptr;
};
