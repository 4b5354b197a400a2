// Elementary functions of the audio path computed by our own code, so that every build (any C
// runtime, any compiler of the same language rules) renders bit-identical output. Each is a fixed
// sequence of IEEE double operations; the sine and cosine kernels are templates that run on one
// double or on two or eight lanes (`Lanes2`, `Lanes8`), with identical results lane by lane.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>

// Two or eight doubles processed together (SSE2 on x86-64; eight lanes in as many
// SSE2, AVX or AVX-512 registers as they take; the compiler's generic vectors elsewhere).
typedef double Lanes2 __attribute__((vector_size(16)));
typedef int64_t LaneBits2 __attribute__((vector_size(16)));
typedef double Lanes8 __attribute__((vector_size(64)));

namespace portable_math {

// Added and subtracted again, this rounds a double below 2^51 in magnitude to the nearest integer
// (ties to even), and leaves that integer in the low bits of the sum's mantissa.
constexpr double kRoundShift = 0x1.8p52;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
// Pi / 2 in three parts; the first two carry 30 significant bits, so that an integer below 2^22
// times either is exact.
constexpr double kHalfPiA = 0x1.921fb548p+0;
constexpr double kHalfPiB = -0x1.de973dc8p-31;
constexpr double kHalfPiC = -0x1.9d9cceba3f91fp-62;

// Minimax coefficients on |r| <= pi / 4: sin r = r + r^3 (S1 + r^2 S2 + ...), and
// cos r = 1 - r^2 / 2 + r^4 (C1 + r^2 C2 + ...); each polynomial is within 2^-58 of its function.
constexpr double kS1 = -1.66666666666666324348e-01;
constexpr double kS2 = 8.33333333332248946124e-03;
constexpr double kS3 = -1.98412698298579493134e-04;
constexpr double kS4 = 2.75573137070700676789e-06;
constexpr double kS5 = -2.50507602534068634195e-08;
constexpr double kS6 = 1.58969099521155010221e-10;
constexpr double kC1 = 4.16666666666666019037e-02;
constexpr double kC2 = -1.38888888888741095749e-03;
constexpr double kC3 = 2.48015872894767294178e-05;
constexpr double kC4 = -2.75573143513906633035e-07;
constexpr double kC5 = 2.08757232129817482790e-09;
constexpr double kC6 = -1.13596475577881948265e-11;

constexpr uint64_t kSignBit = 0x8000000000000000ull;

// The integer type of a lane's bits, lane for lane, for a vector of any width.
template <class V>
struct BitsOf {
    using Type [[gnu::vector_size(sizeof(V))]] = int64_t;
};
template <>
struct BitsOf<double> {
    using Type = uint64_t;
};

// The sum of the lanes, halves added together down to two lanes: a few register operations where
// a lane-by-lane loop would move every lane out on its own.
template <class Bits>
[[gnu::always_inline]] inline int64_t SumOfLanes(Bits bits)
{
    if constexpr (sizeof(Bits) == sizeof(int64_t)) {
        return bits;
    } else if constexpr (sizeof(Bits) == 2 * sizeof(int64_t)) {
        return bits[0] + bits[1];
    } else if constexpr (sizeof(Bits) == 4 * sizeof(int64_t)) {
        return SumOfLanes(__builtin_shufflevector(bits, bits, 0, 1) + __builtin_shufflevector(bits, bits, 2, 3));
    } else {
        return SumOfLanes(__builtin_shufflevector(bits, bits, 0, 1, 2, 3) +
                          __builtin_shufflevector(bits, bits, 4, 5, 6, 7));
    }
}

// The lanes of `bits` from `kFirst` on, as many as `I` counts.
template <size_t kFirst, class Bits, size_t... I>
[[gnu::always_inline]] inline auto LanesFrom(Bits bits, std::index_sequence<I...>)
{
    return __builtin_shufflevector(bits, bits, (kFirst + I)...);
}

// A constant in every lane of V.
template <class V>
[[gnu::always_inline]] inline V Splat(double c)
{
    return V{} + c;
}

// sin(x - m pi / 2), m being 0 or 1, negated when `flip` holds the sign bit. With
// x = k pi / 2 + r + y (k the nearest integer to 2x / pi, r + y the remainder to twice double
// precision, |r| <= pi / 4), sin(x - m pi / 2) is sin r, cos r, -sin r or -cos r as k - m is 0,
// 1, 2 or 3 modulo 4. Each lane takes its own polynomial (both are evaluated only when the lanes
// differ); y enters to first order. Within 1 ulp for |x| up to
// 2^20. Inlined everywhere, so that a caller compiled for wider registers computes it in them,
// with the same operations.
//
// `m` and `flip` are one value for every lane (M is int64_t) or one per lane (M is the lanes'
// integer vector). This form leaves +0 for the sine of -0; ShiftedSinKernel and PortableSinCos
// give the zero its sign.
template <class V, class M>
[[gnu::always_inline]] inline V ShiftedSinLanes(V x, M m, M flip)
{
    using Bits = typename BitsOf<V>::Type;
    const V shifted = x * Splat<V>(kTwoOverPi) + Splat<V>(kRoundShift);
    const V k = shifted - Splat<V>(kRoundShift);
    const V t = (x - k * Splat<V>(kHalfPiA)) - k * Splat<V>(kHalfPiB);
    const V kc = k * Splat<V>(kHalfPiC);
    const V r = t - kc;
    const V y = (t - r) - kc;

    const V z = r * r;
    const V w = z * z;
    const auto sine = [&]() __attribute__((always_inline))
    {
        const V v = z * r;
        const V sp =
            (Splat<V>(kS2) + z * (Splat<V>(kS3) + z * Splat<V>(kS4))) + z * w * (Splat<V>(kS5) + z * Splat<V>(kS6));
        return r - ((z * (Splat<V>(0.5) * y - v * sp) - y) - v * Splat<V>(kS1));
    };
    const auto cosine = [&]() __attribute__((always_inline))
    {
        const V cp = z * (Splat<V>(kC1) + z * (Splat<V>(kC2) + z * Splat<V>(kC3))) +
                     w * w * (Splat<V>(kC4) + z * (Splat<V>(kC5) + z * Splat<V>(kC6)));
        const V hz = Splat<V>(0.5) * z;
        const V one = Splat<V>(1.0) - hz;
        return one + (((Splat<V>(1.0) - one) - hz) + (z * cp - r * y));
    };

    const Bits j = std::bit_cast<Bits>(shifted) - m;
    const Bits odd = Bits{} - (j & 1);
    // Lanes next to each other mostly share a quadrant: then only their polynomial is evaluated.
    constexpr int64_t kLanes = sizeof(V) / sizeof(double);
    const int64_t oddLanes = SumOfLanes(j & 1);
    const bool anyOdd = oddLanes != 0;
    const bool allOdd = oddLanes == kLanes;
    Bits picked;
    if (allOdd)
        picked = std::bit_cast<Bits>(cosine());
    else if (!anyOdd)
        picked = std::bit_cast<Bits>(sine());
    else
        picked = (std::bit_cast<Bits>(sine()) & ~odd) | (std::bit_cast<Bits>(cosine()) & odd);
    return std::bit_cast<V>(picked ^ ((j & 2) << 62) ^ flip);
}

template <class V>
[[gnu::always_inline]] inline V ShiftedSinKernel(V x, int64_t m, uint64_t flip)
{
    const V result = ShiftedSinLanes(x, m, static_cast<int64_t>(flip));
    // The reduction turns -0 into +0; the sine of a signed zero is that zero.
    if (m == 0 && !flip)
        return x == 0.0 ? x : result;
    return result;
}

// sin x is the shifted form with m = 0; cos x = -sin(x - pi / 2), the form with m = 1, flipped.
template <class V>
[[gnu::always_inline]] inline V SinKernel(V x)
{
    return ShiftedSinKernel(x, 0, 0);
}

template <class V>
[[gnu::always_inline]] inline V CosKernel(V x)
{
    return ShiftedSinKernel(x, 1, kSignBit);
}

}  // namespace portable_math

// Sine and cosine, within 1 ulp for |x| up to 2^20 (the audio path uses them below 8); NaN and
// infinities give NaN. The lane forms give each lane exactly the one-lane result.
inline double PortableSin(double x) { return portable_math::SinKernel(x); }
inline double PortableCos(double x) { return portable_math::CosKernel(x); }
inline Lanes2 PortableSin(Lanes2 x) { return portable_math::SinKernel(x); }
inline Lanes2 PortableCos(Lanes2 x) { return portable_math::CosKernel(x); }

// Exactly PortableSin(x) and PortableCos(x), computed together in the two lanes of one register.
inline void PortableSinCos(double x, double& sine, double& cosine)
{
    const Lanes2 both = portable_math::ShiftedSinLanes(Lanes2{x, x}, LaneBits2{0, 1},
                                                       LaneBits2{0, static_cast<int64_t>(portable_math::kSignBit)});
    sine = x == 0.0 ? x : both[0];
    cosine = both[1];
}

// Tangent as the quotient of the sine and cosine above.
double PortableTan(double x);

// e^x within about 1 ulp; overflow gives infinity, underflow 0 (through the subnormal range).
double PortableExp(double x);

// The exact remainder of x / y with the sign of x, as the C library defines it: NaN for an
// infinite x, a NaN operand or y = 0; x itself for an infinite y.
double PortableFmod(double x, double y);
