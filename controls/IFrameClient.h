// IFrameClient: something the editor brings up to date once per frame, before it looks for dirty
// controls; for instance controls that show values the plug-in publishes.
#pragma once

class IFrameClient {
public:
    virtual ~IFrameClient() = default;
    virtual void OnFrame() = 0;
};
