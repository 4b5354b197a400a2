#include "framework/vst3/IFxVST3RunLoop.h"

#include <atomic>
#include <memory>

using namespace Steinberg;

// The object the host calls back: answers as both event and timer handler and forwards to the
// client until it is cut off. The host may keep references after unregistering; the last
// release deletes it.
class IFxVST3RunLoop::Handler final : public Linux::IEventHandler, public Linux::ITimerHandler {
public:
    explicit Handler(IEditorRunLoopClient* c) : client(c) {}

    void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override
    {
        if (client)
            client->OnDescriptorReady();
    }
    void PLUGIN_API onTimer() override
    {
        if (client)
            client->OnTimer();
    }
    void CutOff() { client = nullptr; }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (!obj)
            return kInvalidArgument;
        if (FUnknownPrivate::iidEqual(iid, Linux::IEventHandler::iid) ||
            FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
            *obj = static_cast<Linux::IEventHandler*>(this);
        } else if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid)) {
            *obj = static_cast<Linux::ITimerHandler*>(this);
        } else {
            *obj = nullptr;
            return kNoInterface;
        }
        addRef();
        return kResultOk;
    }
    uint32 PLUGIN_API addRef() override { return ++references; }
    uint32 PLUGIN_API release() override
    {
        const uint32 left = --references;
        if (left == 0)
            delete this;
        return left;
    }

private:
    IEditorRunLoopClient* client;
    std::atomic<uint32> references{1};
};

std::unique_ptr<IFxVST3RunLoop> IFxVST3RunLoop::FromFrame(IPlugFrame* frame)
{
    if (!frame)
        return nullptr;
    Linux::IRunLoop* loop = nullptr;
    if (frame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&loop)) != kResultOk || !loop)
        return nullptr;
    return std::make_unique<IFxVST3RunLoop>(owned(loop));
}

IFxVST3RunLoop::IFxVST3RunLoop(IPtr<Linux::IRunLoop> loop) : hostLoop(std::move(loop)) {}

IFxVST3RunLoop::~IFxVST3RunLoop() { Stop(); }

bool IFxVST3RunLoop::Start(int fd, int periodMs, IEditorRunLoopClient* client)
{
    Stop();
    if (!hostLoop || !client || fd < 0 || periodMs <= 0)
        return false;
    handler = new Handler(client);
    if (hostLoop->registerEventHandler(handler, fd) != kResultOk) {
        Stop();
        return false;
    }
    if (hostLoop->registerTimer(handler, static_cast<Linux::TimerInterval>(periodMs)) != kResultOk) {
        Stop();
        return false;
    }
    return true;
}

void IFxVST3RunLoop::Stop()
{
    if (!handler)
        return;
    handler->CutOff();
    hostLoop->unregisterTimer(handler);
    hostLoop->unregisterEventHandler(handler);
    handler->release();
    handler = nullptr;
}
