#include "platform/PlatformGraphics.h"

#include "platform/linux/IGraphicsLinux.h"

std::unique_ptr<IGraphics> CreatePlatformGraphics(IFxBase* plug, int width, int height, int fps)
{
    return std::make_unique<IGraphicsLinux>(plug, width, height, fps);
}
