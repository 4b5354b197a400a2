#include "effect/PortableMath.h"

#include <limits>

namespace {

constexpr uint64_t kSignBit = 0x8000000000000000ull;
constexpr uint64_t kMantissa = 0x000FFFFFFFFFFFFFull;
constexpr uint64_t kImplicitBit = 0x0010000000000000ull;

// ln 2 in two parts; the first carries 32 significant bits, so that n times it is exact.
constexpr double kLn2A = 0x1.62e42ffp-1;
constexpr double kLn2B = -0x1.718432a1b0e26p-35;
constexpr double kLog2E = 0x1.71547652b82fep+0;
// Taylor coefficients of e^r from 1/13! down to 1/0!; for |r| <= ln 2 / 2 the next term is below
// 2^-57 of the result.
constexpr double kExpCoef[] = {0x1.6124613a86d09p-33,
                               0x1.1eed8eff8d898p-29,
                               0x1.ae64567f544e4p-26,
                               0x1.27e4fb7789f5cp-22,
                               0x1.71de3a556c734p-19,
                               0x1.a01a01a01a01ap-16,
                               0x1.a01a01a01a01ap-13,
                               0x1.6c16c16c16c17p-10,
                               0x1.1111111111111p-7,
                               0x1.5555555555555p-5,
                               0x1.5555555555555p-3,
                               0x1.0p-1,
                               0x1.0p+0,
                               0x1.0p+0};

double PowerOfTwo(int n) { return std::bit_cast<double>(static_cast<uint64_t>(n + 1023) << 52); }

// Mantissa with its implicit bit and the exponent it goes with, subnormals normalised.
void Unpack(uint64_t magnitude, uint64_t& mantissa, int& exponent)
{
    exponent = static_cast<int>(magnitude >> 52);
    if (exponent == 0) {
        mantissa = magnitude;
        exponent = 1;
        while (!(mantissa & kImplicitBit)) {
            mantissa <<= 1;
            --exponent;
        }
    } else {
        mantissa = (magnitude & kMantissa) | kImplicitBit;
    }
}

}  // namespace

double PortableTan(double x)
{
    double sine = 0.0;
    double cosine = 0.0;
    PortableSinCos(x, sine, cosine);
    return sine / cosine;
}

double PortableExp(double x)
{
    if (x != x)
        return x;
    if (x > 709.8)
        return std::numeric_limits<double>::infinity();
    if (x < -745.2)
        return 0.0;
    const double shifted = x * kLog2E + portable_math::kRoundShift;
    const double n = shifted - portable_math::kRoundShift;
    const double r = (x - n * kLn2A) - n * kLn2B;
    double p = kExpCoef[0];
    for (int i = 1; i < 14; ++i)
        p = p * r + kExpCoef[i];
    // 2^n in two steps, so that results near the ends of the range neither overflow early nor
    // lose the subnormal range.
    const int e = static_cast<int>(n);
    const int half = e / 2;
    return p * PowerOfTwo(half) * PowerOfTwo(e - half);
}

double PortableFmod(double x, double y)
{
    const uint64_t bx = std::bit_cast<uint64_t>(x);
    const uint64_t ax = bx & ~kSignBit;
    const uint64_t ay = std::bit_cast<uint64_t>(y) & ~kSignBit;
    constexpr uint64_t kInfinity = 0x7FF0000000000000ull;
    if (ax >= kInfinity || ay > kInfinity || ay == 0)
        return std::numeric_limits<double>::quiet_NaN();
    if (ay == kInfinity || ax < ay)
        return x;
    const double signedZero = std::bit_cast<double>(bx & kSignBit);
    if (ax == ay)
        return signedZero;
    uint64_t mx = 0;
    uint64_t my = 0;
    int ex = 0;
    int ey = 0;
    Unpack(ax, mx, ex);
    Unpack(ay, my, ey);
    // Long division, one bit per step: the remainder stays below twice the divisor.
    for (; ex > ey; --ex) {
        if (mx >= my)
            mx -= my;
        mx <<= 1;
    }
    if (mx >= my)
        mx -= my;
    if (mx == 0)
        return signedZero;
    while (!(mx & kImplicitBit)) {
        mx <<= 1;
        --ey;
    }
    const uint64_t magnitude = ey > 0 ? (static_cast<uint64_t>(ey) << 52) | (mx & kMantissa) : mx >> (1 - ey);
    return std::bit_cast<double>(magnitude | (bx & kSignBit));
}
