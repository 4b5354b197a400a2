// PIX_MemBitmap: a heap pixel array for decoded images and scratch surfaces.
// Pixel data starts on a 64-byte boundary; rows are padded to the row
// alignment; the block grows with 25 percent headroom and never shrinks.
#pragma once

#include <cstdlib>
#include <memory>

#include "PIX_IBitmap.h"

class PIX_MemBitmap final : public PIX_IBitmap {
public:
    // rowAlignment in pixels (a power of two up to 16 is used; below 2 means
    // none). Positive width and height allocate at once.
    PIX_MemBitmap(int width, int height, int rowAlignment);

    std::uint32_t* GetBits() const override;
    int GetWidth() const override { return width; }
    int GetHeight() const override { return height; }
    int GetRowSpan() const override;
    bool Resize(int width, int height) override;

    int AllocatedBytes() const { return allocatedSize; }

private:
    struct FreeDeleter {
        void operator()(unsigned char* p) const { std::free(p); }
    };
    static constexpr int kAlignBytes = 64;

    int RowSpanFor(int w) const;

    std::unique_ptr<unsigned char, FreeDeleter> buffer;
    int width = 0;
    int height = 0;
    int allocatedSize = 0;  // bytes of pixel data the block can hold
    int alignMask = 0;
};
