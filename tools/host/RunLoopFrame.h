// The host's editor frame on Linux: IPlugFrame for the plug-in's view and the run loop
// (Linux::IRunLoop) the view's window registers its descriptor and timer with, served by
// poll() on the host's thread as a DAW's UI loop does.
#pragma once

#include <pluginterfaces/gui/iplugview.h>

#include <chrono>
#include <vector>

namespace vibrascend::host {

// Owned by the host and kept alive while any view uses it, so reference counting is a no-op.
class RunLoopFrame final : public Steinberg::IPlugFrame, public Steinberg::Linux::IRunLoop {
public:
    using Clock = std::chrono::steady_clock;

    RunLoopFrame() = default;
    virtual ~RunLoopFrame();
    RunLoopFrame(const RunLoopFrame&) = delete;
    RunLoopFrame& operator=(const RunLoopFrame&) = delete;

    // Waits at most maxWaitMs for a registered descriptor, extraFd (when not -1) or a due timer,
    // and calls what is ready. Answers whether extraFd became readable.
    bool RunOnce(int maxWaitMs, int extraFd = -1);
    // Keeps running for ms milliseconds.
    void RunFor(int ms);

    std::size_t EventHandlers() const { return events.size(); }
    std::size_t Timers() const { return timers.size(); }

    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) override;
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval milliseconds) override;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    struct EventEntry {
        Steinberg::Linux::IEventHandler* handler;  // one reference held
        int fd;
    };
    struct TimerEntry {
        Steinberg::Linux::ITimerHandler* handler;  // one reference held
        std::chrono::milliseconds period;
        Clock::time_point due;
    };
    bool Registered(const Steinberg::Linux::IEventHandler* handler, int fd) const;
    bool Registered(const Steinberg::Linux::ITimerHandler* handler) const;

    std::vector<EventEntry> events;
    std::vector<TimerEntry> timers;
};

}  // namespace vibrascend::host
