// Per-pixel blend arithmetic of the raster layer: each blend operation is
// one small function on two 32-bit pixels (straight alpha, 8 bits per
// channel). Divisions truncate toward zero, as C++ integer division does.
#pragma once

#include <cmath>
#include <cstdint>

namespace pix {

inline int Channel(std::uint32_t p, int shift) { return int((p >> shift) & 0xFF); }
inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline std::uint32_t Pack(int a, int r, int g, int b)
{
    return std::uint32_t(a) << 24 | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

// Integer weight (0..256) from a floating-point weight, truncating; weights
// above 1 give 256 and anything not positive (NaN included) gives 0.
inline int WeightTruncated(float weight)
{
    if (!(weight > 0.0f))
        return 0;
    const float scaled = weight * 256.0f;
    return scaled >= 256.0f ? 256 : int(scaled);
}

// As WeightTruncated, rounding half away from zero.
inline int WeightRounded(float weight)
{
    if (!(weight > 0.0f))
        return 0;
    const float scaled = weight * 256.0f + 0.5f;
    return scaled >= 256.0f ? 256 : int(scaled);
}

// --- packed forms: all four channels at once, low bits dropped -----------

// Half of each: ((a >> 1) & 0x7F7F7F7F) + ((b >> 1) & 0x7F7F7F7F).
inline std::uint32_t PackedHalf(std::uint32_t a, std::uint32_t b)
{
    return ((a >> 1) & 0x7F7F7F7F) + ((b >> 1) & 0x7F7F7F7F);
}
// A quarter of c over three quarters of d.
inline std::uint32_t PackedQuarter(std::uint32_t d, std::uint32_t c)
{
    return ((d >> 1) & 0x7F7F7F7F) + ((d >> 2) & 0x3F3F3F3F) + ((c >> 2) & 0x3F3F3F3F);
}
// Three quarters of c over a quarter of d.
inline std::uint32_t PackedThreeQuarters(std::uint32_t d, std::uint32_t c)
{
    return ((c >> 1) & 0x7F7F7F7F) + ((c >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F);
}

// --- weighted forms ------------------------------------------------------

// s + (d - s) * (256 - w) / 256 on one channel.
inline int MixChannel(int d, int s, int w) { return s + (d - s) * (256 - w) / 256; }

// Copy with weight w, all four channels.
inline std::uint32_t CopyWeighted(std::uint32_t d, std::uint32_t s, int w)
{
    return Pack(MixChannel(Channel(d, 24), Channel(s, 24), w), MixChannel(Channel(d, 16), Channel(s, 16), w),
                MixChannel(Channel(d, 8), Channel(s, 8), w), MixChannel(Channel(d, 0), Channel(s, 0), w));
}

// Exact per-channel average (d + c) >> 1.
inline std::uint32_t AverageChannels(std::uint32_t d, std::uint32_t c)
{
    return Pack((Channel(d, 24) + Channel(c, 24)) >> 1, (Channel(d, 16) + Channel(c, 16)) >> 1,
                (Channel(d, 8) + Channel(c, 8)) >> 1, (Channel(d, 0) + Channel(c, 0)) >> 1);
}

// clamp(d + c * w / 256) on blue, green, red; the alpha channel adds
// alphaSource * w / 256.
inline std::uint32_t AddChannels(std::uint32_t d, std::uint32_t c, int w, int alphaSource)
{
    return Pack(Clamp255(Channel(d, 24) + alphaSource * w / 256), Clamp255(Channel(d, 16) + Channel(c, 16) * w / 256),
                Clamp255(Channel(d, 8) + Channel(c, 8) * w / 256), Clamp255(Channel(d, 0) + Channel(c, 0) * w / 256));
}

// Dodge of one channel by k: d * 256 / (256 - k), saturating.
inline int DodgeChannel(int d, int k)
{
    const int v = k > 254 ? d * 256 : d * 256 / (256 - k);
    return v < 255 ? v : 255;
}

// Dodge with k = c * w / 256 on blue, green, red and alphaSource * w / 256
// on alpha.
inline std::uint32_t DodgeChannels(std::uint32_t d, std::uint32_t c, int w, int alphaSource)
{
    return Pack(
        DodgeChannel(Channel(d, 24), alphaSource * w / 256), DodgeChannel(Channel(d, 16), Channel(c, 16) * w / 256),
        DodgeChannel(Channel(d, 8), Channel(c, 8) * w / 256), DodgeChannel(Channel(d, 0), Channel(c, 0) * w / 256));
}

// --- source-alpha forms (copies weighted by each source pixel's alpha) ----

// Full weight: alpha 0 keeps d; otherwise the colour mixes by 255 - alpha
// and the alpha channel accumulates.
inline std::uint32_t CopySourceAlphaFull(std::uint32_t d, std::uint32_t s)
{
    const int sa = int(s >> 24);
    if (sa == 0)
        return d;
    if (sa == 255)
        return s;
    const int k = sa + 1;  // (256 - k) = 255 - sa
    const int da = Channel(d, 24) + sa;
    return Pack(da < 255 ? da : 255, MixChannel(Channel(d, 16), Channel(s, 16), k),
                MixChannel(Channel(d, 8), Channel(s, 8), k), MixChannel(Channel(d, 0), Channel(s, 0), k));
}

// Partial weight ia < 256: effective weight w = ia * (sa + 1) / 256.
inline std::uint32_t CopySourceAlpha(std::uint32_t d, std::uint32_t s, int ia)
{
    const int sa = int(s >> 24);
    if (sa == 0)
        return d;
    const int w = ia * (sa + 1) / 256;
    const int da = Channel(d, 24) + w;
    return Pack(da < 255 ? da : 255, MixChannel(Channel(d, 16), Channel(s, 16), w),
                MixChannel(Channel(d, 8), Channel(s, 8), w), MixChannel(Channel(d, 0), Channel(s, 0), w));
}

inline std::uint32_t AddSourceAlpha(std::uint32_t d, std::uint32_t s, int ia)
{
    const int sa = int(s >> 24);
    if (sa == 0)
        return d;
    return AddChannels(d, s, ia * (sa + 1) / 256, sa);
}

inline std::uint32_t DodgeSourceAlpha(std::uint32_t d, std::uint32_t s, int ia)
{
    const int sa = int(s >> 24);
    return DodgeChannels(d, s, ia * (sa + 1) / 256, sa);
}

// Fill copy at a weight without a packed form: colour channels mix by ia,
// the alpha channel moves towards ia itself.
inline std::uint32_t FillCopyWeighted(std::uint32_t d, std::uint32_t c, int ia)
{
    const int da = Channel(d, 24);
    return Pack(ia + (da - ia) * (256 - ia) / 256, MixChannel(Channel(d, 16), Channel(c, 16), ia),
                MixChannel(Channel(d, 8), Channel(c, 8), ia), MixChannel(Channel(d, 0), Channel(c, 0), ia));
}

}  // namespace pix
