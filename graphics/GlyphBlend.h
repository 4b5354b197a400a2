// How a glyph's coverage moves a destination pixel towards the text colour.
// c is the coverage (1..255); m the opacity as an integer weight (1..256).
// Divisions truncate toward zero.
#pragma once

#include <cstdint>

namespace pix {

inline int GlyphChannel(std::uint32_t p, int shift) { return int((p >> shift) & 0xFF); }

// Full opacity: D = (D - F) * (255 - c) / 256 + F; Da = 255 - (255 - Da) * (255 - c) / 256.
inline std::uint32_t GlyphBlendOpaque(std::uint32_t d, std::uint32_t f, int c)
{
    const int keep = 255 - c;
    const auto mix = [&](int shift) {
        const int fc = GlyphChannel(f, shift);
        return std::uint32_t((GlyphChannel(d, shift) - fc) * keep / 256 + fc) << shift;
    };
    const int da = 255 - (255 - GlyphChannel(d, 24)) * keep / 256;
    return std::uint32_t(da) << 24 | mix(16) | mix(8) | mix(0);
}

// Partial opacity: k = 256 - min(m * c / 256, 256); D = F + (D - F) * k / 256;
// Da = 255 - (255 - Da) * k / 256.
inline std::uint32_t GlyphBlendTranslucent(std::uint32_t d, std::uint32_t f, int c, int m)
{
    const int cover = m * c / 256;
    const int k = 256 - (cover < 256 ? cover : 256);
    const auto mix = [&](int shift) {
        const int fc = GlyphChannel(f, shift);
        return std::uint32_t(fc + (GlyphChannel(d, shift) - fc) * k / 256) << shift;
    };
    const int da = 255 - (255 - GlyphChannel(d, 24)) * k / 256;
    return std::uint32_t(da) << 24 | mix(16) | mix(8) | mix(0);
}

}  // namespace pix
