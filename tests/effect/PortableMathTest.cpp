// The audio path's own elementary functions against the C library over the ranges the effect uses,
// and the two-lane forms against the one-lane forms bit for bit.
#include "effect/PortableMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

// Distance in units of the last place of the C library's answer.
double Ulps(double got, double expected)
{
    if (got == expected)
        return 0.0;
    const double ulp =
        std::nextafter(std::fabs(expected), std::numeric_limits<double>::infinity()) - std::fabs(expected);
    return std::fabs(got - expected) / ulp;
}

// The C library is the accuracy reference only where its own answers are close to correctly
// rounded (glibc). Other C libraries (the Windows runtime's sine and cosine are off by tens of
// units) cannot judge an answer to one unit; the own functions give the same bits on every
// platform, so there only the lane, sign and special-value checks run.
#if defined(__GLIBC__)
constexpr bool kReferenceIsAccurate = true;
#else
constexpr bool kReferenceIsAccurate = false;
#endif

}  // namespace

TEST(PortableMath, SineAndCosineWithinOneUlpAndLanesMatch)
{
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> phase(-1.0, 8.0);
    double worstSin = 0.0, worstCos = 0.0;
    for (int i = 0; i < 200000; ++i) {
        const double x = i % 10 == 0 ? std::ldexp(phase(rng), -(i % 40)) : phase(rng);
        const double y = phase(rng);
        worstSin = std::max(worstSin, Ulps(PortableSin(x), std::sin(x)));
        worstCos = std::max(worstCos, Ulps(PortableCos(x), std::cos(x)));
        const Lanes2 s = PortableSin(Lanes2{x, y});
        const Lanes2 c = PortableCos(Lanes2{x, y});
        ASSERT_EQ(s[0], PortableSin(x));
        ASSERT_EQ(s[1], PortableSin(y));
        ASSERT_EQ(c[0], PortableCos(x));
        ASSERT_EQ(c[1], PortableCos(y));
    }
    RecordProperty("sin_max_ulp", std::to_string(worstSin));
    RecordProperty("cos_max_ulp", std::to_string(worstCos));
    if (kReferenceIsAccurate) {
        EXPECT_LE(worstSin, 1.0);
        EXPECT_LE(worstCos, 1.0);
    }
    EXPECT_EQ(PortableSin(0.0), 0.0);
    EXPECT_EQ(PortableCos(0.0), 1.0);
    EXPECT_TRUE(std::isnan(PortableSin(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(PortableCos(std::nan(""))));
}

// Where the reduction is hardest: next to multiples of pi / 4 (where each lane changes between the
// two polynomials) and of pi / 2 (where the remainder cancels to a few bits), over the phase range
// and far beyond it; signed zeros keep their sign.
TEST(PortableMath, SineAndCosineAtQuadrantEdgesAndFarOut)
{
    double worst = 0.0;
    for (int k = -40; k <= 40; ++k) {
        double x = k * (3.141592653589793 / 4.0);
        for (int step = 0; step < 8; ++step)
            x = std::nextafter(x, 1e9);
        for (int step = 0; step < 16; ++step) {
            worst = std::max({worst, Ulps(PortableSin(x), std::sin(x)), Ulps(PortableCos(x), std::cos(x))});
            x = std::nextafter(x, -1e9);
        }
    }
    std::mt19937_64 rng(4);
    std::uniform_real_distribution<double> far(-1048576.0, 1048576.0);
    for (int i = 0; i < 200000; ++i) {
        const double x = far(rng);
        worst = std::max({worst, Ulps(PortableSin(x), std::sin(x)), Ulps(PortableCos(x), std::cos(x))});
    }
    RecordProperty("edge_max_ulp", std::to_string(worst));
    if (kReferenceIsAccurate) {
        EXPECT_LE(worst, 1.0);
    }
    EXPECT_TRUE(std::signbit(PortableSin(-0.0)));
    EXPECT_FALSE(std::signbit(PortableSin(0.0)));
    EXPECT_EQ(PortableCos(-0.0), 1.0);
    EXPECT_TRUE(std::isnan(PortableSin(-std::numeric_limits<double>::infinity())));
}

TEST(PortableMath, TangentOverTheSplitRangeAndExponentialOverTheGains)
{
    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> angle(1e-4, 0.49 * 3.141592653589793);
    double worstTan = 0.0;
    for (int i = 0; i < 100000; ++i) {
        const double x = angle(rng);
        worstTan = std::max(worstTan, Ulps(PortableTan(x), std::tan(x)));
    }
    double worstExp = 0.0;
    for (int tenths = -2000; tenths <= 1000; ++tenths) {
        const double x = tenths * 0.1 * 0.11512925464970228;
        worstExp = std::max(worstExp, Ulps(PortableExp(x), std::exp(x)));
    }
    std::uniform_real_distribution<double> wide(-708.0, 709.0);
    for (int i = 0; i < 100000; ++i) {
        const double x = wide(rng);
        worstExp = std::max(worstExp, Ulps(PortableExp(x), std::exp(x)));
    }
    RecordProperty("tan_max_ulp", std::to_string(worstTan));
    RecordProperty("exp_max_ulp", std::to_string(worstExp));
    if (kReferenceIsAccurate) {
        EXPECT_LE(worstTan, 3.0);
        EXPECT_LE(worstExp, 1.5);
    }
    EXPECT_EQ(PortableExp(0.0), 1.0);
    EXPECT_EQ(PortableExp(800.0), std::numeric_limits<double>::infinity());
    EXPECT_EQ(PortableExp(-800.0), 0.0);
    EXPECT_GT(PortableExp(-744.0), 0.0);  // the subnormal range is kept
}

TEST(PortableMath, SineAndCosineTogetherGiveEachFunctionsBits)
{
    std::mt19937_64 rng(4);
    std::uniform_real_distribution<double> angle(-8.0, 8.0);
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> xs = {0.0, -0.0, 1e-300, -1e-300, 0.7853981633974483, 1.5707963267948966,
                              3.141592653589793, 4.71238898038469, 1e6, inf, -inf, std::nan("")};
    for (int i = 0; i < 100000; ++i)
        xs.push_back(angle(rng));
    const auto bits = [](double v) { return std::bit_cast<uint64_t>(v); };
    for (double x : xs) {
        double sine = 1.0;
        double cosine = 1.0;
        PortableSinCos(x, sine, cosine);
        ASSERT_EQ(bits(sine), bits(PortableSin(x))) << x;
        ASSERT_EQ(bits(cosine), bits(PortableCos(x))) << x;
    }
}

TEST(PortableMath, RemainderIsExact)
{
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-1074, 1000);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::ldexp(mantissa(rng), exponent(rng));
        const double y = i % 3 == 0 ? 6.283185307179586 : (i % 3 == 1 ? 1.0 : std::ldexp(mantissa(rng), exponent(rng)));
        if (y == 0.0)
            continue;
        const double expected = std::fmod(x, y);
        const double got = PortableFmod(x, y);
        ASSERT_EQ(got, expected) << x << " " << y;
        ASSERT_EQ(std::signbit(got), std::signbit(expected)) << x << " " << y;
    }
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isnan(PortableFmod(inf, 1.0)));
    EXPECT_TRUE(std::isnan(PortableFmod(1.0, 0.0)));
    EXPECT_TRUE(std::isnan(PortableFmod(std::nan(""), 1.0)));
    EXPECT_EQ(PortableFmod(2.5, inf), 2.5);
    EXPECT_EQ(PortableFmod(-3.0, 1.0), 0.0);
    EXPECT_TRUE(std::signbit(PortableFmod(-3.0, 1.0)));
}
