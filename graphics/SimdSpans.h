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
inline __m128i MixBytes(__m128i d, __m128i s, __m128i kLow, __m128i kHigh) {
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
inline int MixConstantSpan(std::uint32_t* d, int n, std::uint32_t c, int k) {
  const __m128i colour = _mm_set1_epi32(int(c)), weight = _mm_set1_epi16(short(k));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i* p = reinterpret_cast<__m128i*>(d + i);
    _mm_storeu_si128(p, MixBytes(_mm_loadu_si128(p), colour, weight, weight));
  }
  return i;
}

// CopySourceAlphaFull on four pixels at a time.
inline int CopySourceAlphaFullSpan(std::uint32_t* d, const std::uint32_t* s, int n) {
  const __m128i alphaBytes = _mm_set1_epi32(int(0xFF000000u)), all = _mm_set1_epi32(255);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i alpha = _mm_srli_epi32(src, 24);
    const __m128i clear = _mm_cmpeq_epi32(alpha, _mm_setzero_si128());
    const int clearBits = _mm_movemask_epi8(clear);
    if (clearBits == 0xFFFF) continue;
    __m128i* dp = reinterpret_cast<__m128i*>(d + i);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, all)) == 0xFFFF) {
      _mm_storeu_si128(dp, src);
      continue;
    }
    const __m128i dst = _mm_loadu_si128(dp);
    __m128i k = _mm_sub_epi32(all, alpha);  // 256 - (sa + 1)
    k = _mm_or_si128(k, _mm_slli_epi32(k, 16));
    __m128i mixed = MixBytes(dst, src, _mm_unpacklo_epi32(k, k), _mm_unpackhi_epi32(k, k));
    const __m128i summed = _mm_adds_epu8(dst, _mm_and_si128(src, alphaBytes));  // min(dA + sa, 255)
    mixed = _mm_or_si128(_mm_andnot_si128(alphaBytes, mixed), _mm_and_si128(alphaBytes, summed));
    _mm_storeu_si128(dp, _mm_or_si128(_mm_and_si128(clear, dst), _mm_andnot_si128(clear, mixed)));
  }
  return i;
}

#else

inline int MixConstantSpan(std::uint32_t*, int, std::uint32_t, int) { return 0; }
inline int CopySourceAlphaFullSpan(std::uint32_t*, const std::uint32_t*, int) { return 0; }

#endif

}  // namespace pix
