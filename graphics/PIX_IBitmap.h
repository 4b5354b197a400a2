// PIX_IBitmap: the one interface behind which every raster image lives, a
// plain 32-bit pixel array (A<<24 | R<<16 | G<<8 | B, straight alpha),
// top row first, row y at GetBits() + y * GetRowSpan().
#pragma once

#include <cstdint>

class PIX_IBitmap {
public:
    virtual ~PIX_IBitmap() = default;
    virtual std::uint32_t* GetBits() const = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual int GetRowSpan() const = 0;  // pixels per row, at least the width
    virtual bool IsFlipped() const { return false; }
    // Changes the size; answers true when the size changed. Pixel contents
    // are neither kept nor cleared.
    virtual bool Resize(int width, int height) = 0;
    // The native device context holding the pixels, where the platform has one; else null.
    virtual void* GetDC() const { return nullptr; }
    virtual int ExtensionQuery() { return 0; }

protected:
    PIX_IBitmap() = default;
    PIX_IBitmap(const PIX_IBitmap&) = delete;
    PIX_IBitmap& operator=(const PIX_IBitmap&) = delete;
};
