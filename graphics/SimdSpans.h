// Four-pixels-at-a-time forms of the hottest blends, with exactly the
// arithmetic of PixelOps.h. Each handles a whole number of 4-pixel groups
// and answers how many pixels it did; the caller finishes the rest with the
// per-pixel function. Without SSE2 they do nothing and answer 0.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pix {

#if defined(__SSE2__)

// Per byte: s + trunc((d - s) * k / 256), with k in 16-bit lanes matching
// the bytes of the low (kLow) and high (kHigh) two pixels.
inline __m128i MixBytes(__m128i d, __m128i s, __m128i kLow, __m128i kHigh)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i mx = _mm_max_epu8(d, s), mn = _mm_min_epu8(d, s);
    const __m128i diff = _mm_sub_epi8(mx, mn);
    const __m128i up = _mm_cmpeq_epi8(mx, d);  // d >= s: move up by q
    const __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(diff, zero), kLow), 8);
    const __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(diff, zero), kHigh), 8);
    const __m128i q = _mm_packus_epi16(lo, hi);
    return _mm_or_si128(_mm_and_si128(up, _mm_add_epi8(s, q)), _mm_andnot_si128(up, _mm_sub_epi8(s, q)));
}

// d = c + trunc((d - c) * k / 256) on all four channels, k in 0..255.
inline int MixConstantSpan(std::uint32_t* d, int n, std::uint32_t c, int k)
{
    const __m128i colour = _mm_set1_epi32(int(c)), weight = _mm_set1_epi16(short(k));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i* p = reinterpret_cast<__m128i*>(d + i);
        _mm_storeu_si128(p, MixBytes(_mm_loadu_si128(p), colour, weight, weight));
    }
    return i;
}

// CopySourceAlphaFull on four pixels. Each colour byte becomes
// s + trunc((d - s) * k / 256) with k = 255 - sa, or k = 256 where sa = 0,
// which gives d back; the alpha byte keeps sa and then adds dA, saturating.
inline __m128i CopySourceAlphaFull4(__m128i d, __m128i s)
{
    const __m128i zero = _mm_setzero_si128(), alphaBytes = _mm_set1_epi32(int(0xFF000000u));
    const __m128i alpha = _mm_srli_epi32(s, 24);
    __m128i k = _mm_sub_epi32(_mm_sub_epi32(_mm_set1_epi32(255), alpha), _mm_cmpeq_epi32(alpha, zero));
    k = _mm_or_si128(k, _mm_slli_epi32(k, 16));
    const __m128i mx = _mm_max_epu8(d, s), mn = _mm_min_epu8(d, s);
    const __m128i diff = _mm_andnot_si128(alphaBytes, _mm_sub_epi8(mx, mn));
    const __m128i up = _mm_cmpeq_epi8(mx, d);  // d >= s: move up by q
    // q = |d - s| * k / 256: the difference in the high byte of each 16-bit
    // lane, times k, high half of the product.
    const __m128i lo = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, diff), _mm_unpacklo_epi32(k, k));
    const __m128i hi = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, diff), _mm_unpackhi_epi32(k, k));
    const __m128i q = _mm_packus_epi16(lo, hi);
    const __m128i moved = _mm_sub_epi8(s, _mm_sub_epi8(_mm_xor_si128(q, up), up));  // s + q where up, else s - q
    return _mm_adds_epu8(moved, _mm_and_si128(d, alphaBytes));
}

// True when all four pixels have the given alpha.
inline bool AllAlphas(__m128i pixels, int alpha)
{
    const __m128i alphaBytes = _mm_set1_epi32(int(0xFF000000u));
    const __m128i wanted = _mm_set1_epi32(int(std::uint32_t(alpha) << 24));
    return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(pixels, alphaBytes), wanted)) == 0xFFFF;
}

inline __m128i LoadPixels(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// CopySourceAlphaFull on the 4-pixel groups of a row. Fully transparent
// groups at either end are skipped; between them an opaque group is copied
// and any other group blended.
inline int CopySourceAlphaFullSpan(std::uint32_t* d, const std::uint32_t* s, int n)
{
    const int groups = n & ~3;
    int i = 0, end = groups;
    while (i < end && AllAlphas(LoadPixels(s + i), 0))
        i += 4;
    while (end > i && AllAlphas(LoadPixels(s + end - 4), 0))
        end -= 4;
    for (; i < end; i += 4) {
        const __m128i src = LoadPixels(s + i);
        __m128i* dp = reinterpret_cast<__m128i*>(d + i);
        if (AllAlphas(src, 255))
            _mm_storeu_si128(dp, src);
        else
            _mm_storeu_si128(dp, CopySourceAlphaFull4(_mm_loadu_si128(dp), src));
    }
    return groups;
}

#else

inline int MixConstantSpan(std::uint32_t*, int, std::uint32_t, int) { return 0; }
inline int CopySourceAlphaFullSpan(std::uint32_t*, const std::uint32_t*, int) { return 0; }

#endif

}  // namespace pix
