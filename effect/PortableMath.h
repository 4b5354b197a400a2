// Elementary functions of the audio path computed by our own code, so that every build (any C
// runtime, any compiler of the same language rules) renders bit-identical output. Each is a fixed
// sequence of IEEE double operations; the sine and cosine kernels are templates that run on one
// double or on a pair of lanes (`Lanes2`), with identical results lane by lane.
#pragma once

#include <bit>
#include <cstdint>

// Two doubles processed together (SSE2 on x86-64; the compiler's generic vectors elsewhere).
typedef double Lanes2 __attribute__((vector_size(16)));
typedef int64_t LaneBits2 __attribute__((vector_size(16)));

namespace portable_math {

// Added and subtracted again, this rounds a double below 2^51 in magnitude to the nearest integer
// (ties to even), and leaves that integer in the low bits of the sum's mantissa.
constexpr double kRoundShift = 0x1.8p52;
constexpr double kInvPi = 0x1.45f306dc9c883p-2;
// Pi in three parts; the first two carry 30 significant bits, so that a small integer (or half
// integer) times either is exact.
constexpr double kPiA = 0x1.921fb548p+1;
constexpr double kPiB = -0x1.de973dc8p-30;
constexpr double kPiC = -0x1.9d9cceba3f91fp-61;

// Taylor coefficients of sin r / r - 1 in powers of r^2, from -1/3! to 1/21!; the next term is
// below 2^-59 of the result for |r| <= pi / 2.
constexpr double kSinCoef[] = {-0x1.5555555555555p-3,  0x1.1111111111111p-7,  -0x1.a01a01a01a01ap-13,
                               0x1.71de3a556c734p-19,  -0x1.ae64567f544e4p-26, 0x1.6124613a86d09p-33,
                               -0x1.ae7f3e733b81fp-41, 0x1.952c77030ad4ap-49,  -0x1.2f49b46814157p-57,
                               0x1.71b8ef6dcf572p-66};

// A constant in every lane of V.
template <class V>
constexpr V Splat(double c)
{
    if constexpr (sizeof(V) == sizeof(double))
        return c;
    else
        return V{c, c};
}

inline double FlipSignIfOdd(double value, double shifted)
{
    return std::bit_cast<double>(std::bit_cast<uint64_t>(value) ^ (std::bit_cast<uint64_t>(shifted) << 63));
}

inline Lanes2 FlipSignIfOdd(Lanes2 value, Lanes2 shifted)
{
    return std::bit_cast<Lanes2>(std::bit_cast<LaneBits2>(value) ^ (std::bit_cast<LaneBits2>(shifted) << 63));
}

// sin r for |r| up to a little more than pi / 2.
template <class V>
V SinOfReduced(V r)
{
    const V z = r * r;
    V p = z * Splat<V>(kSinCoef[9]) + Splat<V>(kSinCoef[8]);
    p = p * z + Splat<V>(kSinCoef[7]);
    p = p * z + Splat<V>(kSinCoef[6]);
    p = p * z + Splat<V>(kSinCoef[5]);
    p = p * z + Splat<V>(kSinCoef[4]);
    p = p * z + Splat<V>(kSinCoef[3]);
    p = p * z + Splat<V>(kSinCoef[2]);
    p = p * z + Splat<V>(kSinCoef[1]);
    p = p * z + Splat<V>(kSinCoef[0]);
    return r + (r * z) * p;
}

// sin(x - q pi), q being 0 or 1/2, negated when `flip` holds the sign bit: x = (k + q) pi + r
// with k the nearest integer to x / pi - q, and sin(x - q pi) = (-1)^k sin r.
template <class V>
V ShiftedSinKernel(V x, double q, uint64_t flip)
{
    const V shifted = (x * Splat<V>(kInvPi) - Splat<V>(q)) + Splat<V>(kRoundShift);
    const V h = (shifted - Splat<V>(kRoundShift)) + Splat<V>(q);
    const V r = ((x - h * Splat<V>(kPiA)) - h * Splat<V>(kPiB)) - h * Splat<V>(kPiC);
    const V y = FlipSignIfOdd(SinOfReduced(r), shifted);
    if constexpr (sizeof(V) == sizeof(double))
        return std::bit_cast<double>(std::bit_cast<uint64_t>(y) ^ flip);
    else
        return std::bit_cast<V>(std::bit_cast<LaneBits2>(y) ^ static_cast<int64_t>(flip));
}

// sin x is the shifted form with q = 0; cos x = -sin(x - pi / 2), the form with q = 1/2, flipped.
constexpr uint64_t kSignBit = 0x8000000000000000ull;

template <class V>
V SinKernel(V x)
{
    return ShiftedSinKernel(x, 0.0, 0);
}

template <class V>
V CosKernel(V x)
{
    return ShiftedSinKernel(x, 0.5, kSignBit);
}

} // namespace portable_math

// Sine and cosine, within 2 ulp for |x| up to 2^20 (the audio path uses them below 8); NaN and
// infinities give NaN.
inline double PortableSin(double x) { return portable_math::SinKernel(x); }
inline double PortableCos(double x) { return portable_math::CosKernel(x); }
inline Lanes2 PortableSin(Lanes2 x) { return portable_math::SinKernel(x); }
inline Lanes2 PortableCos(Lanes2 x) { return portable_math::CosKernel(x); }

// Tangent as the quotient of the two above.
double PortableTan(double x);

// e^x within about 1 ulp; overflow gives infinity, underflow 0 (through the subnormal range).
double PortableExp(double x);

// The exact remainder of x / y with the sign of x, as the C library defines it: NaN for an
// infinite x, a NaN operand or y = 0; x itself for an infinite y.
double PortableFmod(double x, double y);
