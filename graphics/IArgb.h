// IArgb: a straight (not premultiplied) colour with four 0..255 channels,
// and its packing into the raster layer's 32-bit pixel value.
#pragma once

#include <cstdint>

struct IArgb {
    int A = 255, R = 0, G = 0, B = 0;

    // Pixel value A<<24 | R<<16 | G<<8 | B, each channel masked to 8 bits.
    std::uint32_t Pack() const
    {
        return (std::uint32_t(A) & 0xFF) << 24 | (std::uint32_t(R) & 0xFF) << 16 | (std::uint32_t(G) & 0xFF) << 8 |
               (std::uint32_t(B) & 0xFF);
    }

    bool operator==(const IArgb&) const = default;
};
