// The host's run loop as the editor window needs it: one file descriptor to watch and one
// periodic timer, both calling back on the host's UI thread. The plug-in starts no threads, so
// everything the window does happens in these callbacks.
#pragma once

class IEditorRunLoopClient {
public:
    virtual ~IEditorRunLoopClient() = default;
    // The watched descriptor is readable.
    virtual void OnDescriptorReady() = 0;
    // One period of the timer has passed.
    virtual void OnTimer() = 0;
};

class IEditorRunLoop {
public:
    virtual ~IEditorRunLoop() = default;
    // Watches fd and starts a timer of periodMs milliseconds for client; false when the host
    // refused either (nothing stays registered then). A second Start replaces the first.
    virtual bool Start(int fd, int periodMs, IEditorRunLoopClient* client) = 0;
    // Unregisters both; the client is not called again. Harmless when not started.
    virtual void Stop() = 0;
};
