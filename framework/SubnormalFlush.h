// Subnormal samples written as zeros of their sign: the audio path never hands a host a
// subnormal number, which would slow down whatever processes it next.
#pragma once

#include <bit>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace subnormal_flush {

// The sample type's bits as a signed integer of the same width.
template <class T>
using Word = std::conditional_t<std::is_same_v<T, float>, int32_t, int64_t>;

// The smallest magnitude, as bits, of a normal number of the type.
template <class T>
constexpr Word<T> kSmallestNormalBits = std::bit_cast<Word<T>>(std::numeric_limits<T>::min());

// A subnormal number becomes a zero of its sign; everything else is kept bit for bit.
template <class T>
inline T Flushed(T x)
{
    const Word<T> bits = std::bit_cast<Word<T>>(x);
    const Word<T> sign = std::numeric_limits<Word<T>>::min();
    return (bits & ~sign) < kSmallestNormalBits<T> ? std::bit_cast<T>(bits & sign) : x;
}

// Copies `frames` samples (the two may be the same memory), flushing subnormal ones.
template <class T>
void CopyFlushed(const T* in, T* out, int frames)
{
    for (int i = 0; i < frames; ++i)
        out[i] = Flushed(in[i]);
}

}  // namespace subnormal_flush
