// PIX_SysBitmap: the editor's back buffer, a top-row-first pixel array the window layer copies
// to the screen (on Windows a DIB section selected into a memory device context, which GetDC
// answers). Rows are contiguous, start on a 64-byte boundary and span a multiple of 4 pixels;
// shrinking keeps the allocation.
#pragma once

#include "PIX_IBitmap.h"
#include "SysBitmapStorage.h"

class PIX_SysBitmap final : public PIX_IBitmap {
public:
    PIX_SysBitmap(int width, int height);

    std::uint32_t* GetBits() const override { return pixels; }
    int GetWidth() const override { return width; }
    int GetHeight() const override { return height; }
    int GetRowSpan() const override { return allocWidth; }
    bool Resize(int width, int height) override;
    void* GetDC() const override { return storage.Context(); }

    int AllocatedHeight() const { return allocHeight; }

private:
    int width = 0;
    int height = 0;
    platform::SysBitmapStorage storage;
    std::uint32_t* pixels = nullptr;  // owned by storage
    int allocWidth = 0;  // row span in pixels, a multiple of 4
    int allocHeight = 0;
};
