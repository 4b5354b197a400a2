// IFxVST3RunLoop: the editor window's run loop on Linux, served by the host's
// Steinberg::Linux::IRunLoop (found on the view's IPlugFrame): one event handler for the display
// connection's descriptor and one timer, both unregistered by Stop and on destruction.
#pragma once

#include "platform/linux/EditorRunLoop.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/gui/iplugview.h"

#include <memory>

class IFxVST3RunLoop final : public IEditorRunLoop {
public:
    // The frame's run loop, or null when the frame has none.
    static std::unique_ptr<IFxVST3RunLoop> FromFrame(Steinberg::IPlugFrame* frame);
    explicit IFxVST3RunLoop(Steinberg::IPtr<Steinberg::Linux::IRunLoop> hostLoop);
    ~IFxVST3RunLoop() override;

    bool Start(int fd, int periodMs, IEditorRunLoopClient* client) override;
    void Stop() override;

private:
    class Handler;

    Steinberg::IPtr<Steinberg::Linux::IRunLoop> hostLoop;
    Handler* handler = nullptr;  // one reference held while registered
};
