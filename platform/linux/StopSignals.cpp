#include "platform/StopSignals.h"

#include "platform/PartialFiles.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace platform {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kPartialSlots = 8;
constexpr std::size_t kPathBytes = 4096;
constexpr std::size_t kNoticeBytes = 1024;

// What the handler reads. It may run at any instruction of the thread that changes these, so it
// takes no lock: slots are published by their flag, the notice by switching between two copies,
// and every change is made with the stop signals held (see StopSignalsHeld).
struct PartialSlot {
    std::atomic<bool> used{false};
    char path[kPathBytes] = {};
};
struct Notice {
    char head[kNoticeBytes] = {};
    char tail[kNoticeBytes] = {};
};
PartialSlot partialSlots[kPartialSlots];
Notice notices[2];
std::atomic<int> currentNotice{0};
// Between threads that change them.
std::mutex changes;

thread_local int holdDepth = 0;
thread_local sigset_t maskBeforeHold;

sigset_t StopSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kStopSignals)
        sigaddset(&set, signal);
    return set;
}

void CopyText(char* to, std::size_t capacity, const std::string& text)
{
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(to, text.data(), length);
    to[length] = '\0';
}

// Only async-signal-safe calls from here on.
void Say(const char* text)
{
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
    }
}

extern "C" void OnStopSignal(int signal)
{
    for (PartialSlot& slot : partialSlots) {
        if (slot.used.load(std::memory_order_acquire))
            ::unlink(slot.path);
    }
    const Notice& notice = notices[currentNotice.load(std::memory_order_acquire)];
    if (notice.head[0] != '\0') {
        Say(notice.head);
        Say(SignalName(signal));
        Say(notice.tail);
        Say("\n");
    }
    // End as the signal ends a process that does not catch it: the parent sees the signal.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

}  // namespace

void CatchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_mask = StopSignalSet();
    for (const int signal : kStopSignals) {
        struct sigaction previous {};
        // A hang-up the program was started to ignore (nohup) stays ignored. An interrupt is
        // always taken: a shell without job control starts background commands with it ignored,
        // but whoever sends one there means to stop the program.
        if (signal == SIGHUP && ::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, nullptr);
}

void SetStopNotice(const std::string& head, const std::string& tail)
{
    const StopSignalsHeld held;
    const std::lock_guard lock(changes);
    const int next = 1 - currentNotice.load(std::memory_order_relaxed);
    CopyText(notices[next].head, kNoticeBytes, head);
    CopyText(notices[next].tail, kNoticeBytes, tail);
    currentNotice.store(next, std::memory_order_release);
}

StopSignalsHeld::StopSignalsHeld()
{
    if (holdDepth++ == 0) {
        const sigset_t set = StopSignalSet();
        ::pthread_sigmask(SIG_BLOCK, &set, &maskBeforeHold);
    }
}

StopSignalsHeld::~StopSignalsHeld()
{
    if (--holdDepth == 0)
        ::pthread_sigmask(SIG_SETMASK, &maskBeforeHold, nullptr);
}

namespace partial {

void Remember(const std::filesystem::path& path)
{
    const std::string& name = path.native();
    if (name.size() >= kPathBytes)
        return;
    const StopSignalsHeld held;
    const std::lock_guard lock(changes);
    for (PartialSlot& slot : partialSlots) {
        if (!slot.used.load(std::memory_order_relaxed)) {
            std::memcpy(slot.path, name.c_str(), name.size() + 1);
            slot.used.store(true, std::memory_order_release);
            return;
        }
    }
}

void Forget(const std::filesystem::path& path)
{
    const StopSignalsHeld held;
    const std::lock_guard lock(changes);
    for (PartialSlot& slot : partialSlots) {
        if (slot.used.load(std::memory_order_relaxed) && path.native() == slot.path) {
            slot.used.store(false, std::memory_order_release);
            return;
        }
    }
}

}  // namespace partial

}  // namespace platform
