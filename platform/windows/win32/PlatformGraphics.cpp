#include "platform/PlatformGraphics.h"

#include "platform/windows/win32/IGraphicsWin.h"

std::unique_ptr<IGraphics> CreatePlatformGraphics(IEditHost* host, int width, int height, int fps)
{
    return std::make_unique<IGraphicsWin>(host, width, height, fps);
}
