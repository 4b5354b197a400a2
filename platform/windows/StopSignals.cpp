#include "platform/StopSignals.h"

#include "platform/PartialFiles.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace platform {

namespace {

// The console runs its control handler on a thread of its own, which waits for this lock: a
// hold on another thread is simply the lock taken.
std::recursive_mutex stopState;
std::vector<std::wstring> partials;
std::string noticeHead;
std::string noticeTail;

const char* EventName(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT: return "Ctrl-C";
    case CTRL_BREAK_EVENT: return "Ctrl-Break";
    case CTRL_CLOSE_EVENT: return "closing the console";
    default: return nullptr;
    }
}

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    const char* name = EventName(event);
    if (name == nullptr)
        return FALSE;
    stopState.lock();
    for (const auto& partial : partials)
        DeleteFileW(partial.c_str());
    if (!noticeHead.empty()) {
        const std::string line = noticeHead + name + noticeTail + "\r\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

}  // namespace

void CatchStopSignals() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

void SetStopNotice(const std::string& head, const std::string& tail)
{
    const std::lock_guard lock(stopState);
    noticeHead = head;
    noticeTail = tail;
}

StopSignalsHeld::StopSignalsHeld() { stopState.lock(); }

StopSignalsHeld::~StopSignalsHeld() { stopState.unlock(); }

namespace partial {

void Remember(const std::filesystem::path& path)
{
    const std::lock_guard lock(stopState);
    partials.push_back(path.native());
}

void Forget(const std::filesystem::path& path)
{
    const std::lock_guard lock(stopState);
    const auto found = std::find(partials.begin(), partials.end(), path.native());
    if (found != partials.end())
        partials.erase(found);
}

}  // namespace partial

}  // namespace platform
