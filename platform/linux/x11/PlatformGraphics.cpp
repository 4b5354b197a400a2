#include "platform/PlatformGraphics.h"

#include "platform/linux/x11/IGraphicsLinux.h"

std::unique_ptr<IGraphics> CreatePlatformGraphics(IEditHost* host, int width, int height, int fps)
{
    return std::make_unique<IGraphicsLinux>(host, width, height, fps);
}
