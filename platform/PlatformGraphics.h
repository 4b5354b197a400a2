// Creates this platform's graphics object: the editor's graphics core with its native window.
#pragma once

#include <memory>

class IEditHost;
class IGraphics;

// fps 0 takes the graphics core's default frame rate.
std::unique_ptr<IGraphics> CreatePlatformGraphics(IEditHost* host, int width, int height, int fps);
