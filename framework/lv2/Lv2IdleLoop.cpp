#include "framework/lv2/Lv2IdleLoop.h"

#include <poll.h>

#include <algorithm>

bool Lv2IdleLoop::Start(int fd, int periodMs, IEditorRunLoopClient* newClient)
{
    Stop();
    if (!newClient || fd < 0 || periodMs <= 0)
        return false;
    descriptor = fd;
    period = std::chrono::milliseconds(periodMs);
    nextTick = Clock::now();
    client = newClient;
    return true;
}

void Lv2IdleLoop::Stop()
{
    client = nullptr;
    descriptor = -1;
}

void Lv2IdleLoop::Idle()
{
    if (!client)
        return;
    pollfd watched{descriptor, POLLIN, 0};
    if (poll(&watched, 1, 0) > 0 && (watched.revents & (POLLIN | POLLHUP | POLLERR)) != 0)
        client->OnDescriptorReady();
    // Any callback may have stopped the loop (the window closed).
    if (!client)
        return;
    const Clock::time_point now = Clock::now();
    if (now < nextTick)
        return;
    nextTick = std::max(nextTick + period, now);
    client->OnDescriptorReady();
    if (client)
        client->OnTimer();
}
