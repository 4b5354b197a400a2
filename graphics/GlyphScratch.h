// GlyphScratch: the one scratch bitmap into which fonts render characters
// for their glyph caches. Shared by every font of the process and freed
// when the last font holding it is destroyed; its lock serialises rendering
// by fonts drawn on different threads.
#pragma once

#include <memory>
#include <mutex>

#include "PIX_MemBitmap.h"

class GlyphScratch {
public:
    // The process's scratch, made when no font holds one.
    static std::shared_ptr<GlyphScratch> Acquire();

    std::mutex lock;
    PIX_MemBitmap bitmap{0, 0, 1};
};
