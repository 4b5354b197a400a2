// Creates this platform's graphics object: the editor's graphics core with its native window.
#pragma once

#include <memory>

class IFxBase;
class IGraphics;

// fps 0 takes the graphics core's default frame rate.
std::unique_ptr<IGraphics> CreatePlatformGraphics(IFxBase* plug, int width, int height, int fps);
