#include "RunLoopFrame.h"

#include <poll.h>

#include <algorithm>

using namespace Steinberg;

namespace vibrascend::host {

RunLoopFrame::~RunLoopFrame()
{
    for (EventEntry& e : events)
        e.handler->release();
    for (TimerEntry& t : timers)
        t.handler->release();
}

tresult PLUGIN_API RunLoopFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
    if (!view || !newSize)
        return kInvalidArgument;
    return view->onSize(newSize);
}

tresult PLUGIN_API RunLoopFrame::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (!handler || fd < 0)
        return kInvalidArgument;
    handler->addRef();
    events.push_back({handler, fd});
    return kResultOk;
}

tresult PLUGIN_API RunLoopFrame::unregisterEventHandler(Linux::IEventHandler* handler)
{
    const auto gone = std::remove_if(events.begin(), events.end(), [handler](const EventEntry& e) {
        if (e.handler != handler)
            return false;
        e.handler->release();
        return true;
    });
    const bool found = gone != events.end();
    events.erase(gone, events.end());
    return found ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API RunLoopFrame::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
    if (!handler || milliseconds == 0)
        return kInvalidArgument;
    handler->addRef();
    const std::chrono::milliseconds period(milliseconds);
    timers.push_back({handler, period, Clock::now() + period});
    return kResultOk;
}

tresult PLUGIN_API RunLoopFrame::unregisterTimer(Linux::ITimerHandler* handler)
{
    const auto gone = std::remove_if(timers.begin(), timers.end(), [handler](const TimerEntry& t) {
        if (t.handler != handler)
            return false;
        t.handler->release();
        return true;
    });
    const bool found = gone != timers.end();
    timers.erase(gone, timers.end());
    return found ? kResultOk : kInvalidArgument;
}

bool RunLoopFrame::Registered(const Linux::IEventHandler* handler, int fd) const
{
    return std::any_of(events.begin(), events.end(),
                       [&](const EventEntry& e) { return e.handler == handler && e.fd == fd; });
}

bool RunLoopFrame::Registered(const Linux::ITimerHandler* handler) const
{
    return std::any_of(timers.begin(), timers.end(), [&](const TimerEntry& t) { return t.handler == handler; });
}

bool RunLoopFrame::RunOnce(int maxWaitMs, int extraFd)
{
    Clock::time_point wake = Clock::now() + std::chrono::milliseconds(std::max(0, maxWaitMs));
    for (const TimerEntry& t : timers)
        wake = std::min(wake, t.due);
    std::vector<pollfd> fds;
    for (const EventEntry& e : events)
        fds.push_back({e.fd, POLLIN, 0});
    if (extraFd >= 0)
        fds.push_back({extraFd, POLLIN, 0});
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Clock::now()).count();
    poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(0, wait)));

    // Callbacks may register and unregister: work on a copy and check each entry is still there.
    std::vector<EventEntry> ready;
    for (std::size_t i = 0; i < events.size() && i < fds.size(); ++i)
        if (fds[i].revents & (POLLIN | POLLHUP | POLLERR))
            ready.push_back(events[i]);
    for (EventEntry& e : ready)
        e.handler->addRef();
    for (EventEntry& e : ready) {
        if (Registered(e.handler, e.fd))
            e.handler->onFDIsSet(e.fd);
        e.handler->release();
    }
    const Clock::time_point now = Clock::now();
    std::vector<Linux::ITimerHandler*> due;
    for (TimerEntry& t : timers) {
        if (t.due <= now) {
            due.push_back(t.handler);
            t.due = std::max(t.due + t.period, now);
        }
    }
    for (Linux::ITimerHandler* h : due)
        h->addRef();
    for (Linux::ITimerHandler* h : due) {
        if (Registered(h))
            h->onTimer();
        h->release();
    }
    return extraFd >= 0 && !fds.empty() && (fds.back().revents & (POLLIN | POLLHUP | POLLERR));
}

void RunLoopFrame::RunFor(int ms)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now())
        RunOnce(static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count()));
}

tresult PLUGIN_API RunLoopFrame::queryInterface(const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
        *obj = static_cast<Linux::IRunLoop*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

}  // namespace vibrascend::host
