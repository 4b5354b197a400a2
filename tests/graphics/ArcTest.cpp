#include <gtest/gtest.h>

#include <cmath>

#include "Arc.h"
#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

constexpr float kPi = 3.14159265f;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

std::uint32_t Grey(int w) { return 0x01010101u * std::uint32_t(w); }

// Rows 4..12 of a 20x20 picture, columns 4..15.
std::string Window(const PIX_IBitmap& b)
{
    std::string out;
    for (int y = 4; y <= 12; ++y) {
        for (int x = 4; x <= 15; ++x)
            out += At(b, x, y) ? 'X' : '.';
        out += '\n';
    }
    return out;
}

TEST(ArcTest, FilledTopLeftQuarterStaysInItsBox)
{
    auto b = Filled(20, 20, 0);
    pix::FillArc(b.get(), 10, 10, 4, -kPi / 2, 0, kWhite, 1.0f, 0, false);
    EXPECT_EQ(Window(*b), "............\n"
                          "............\n"
                          "....XXX.....\n"
                          "...XXXX.....\n"
                          "..XXXXX.....\n"
                          "..XXXXX.....\n"
                          "..XXXXX.....\n"
                          "............\n"
                          "............\n");
}

TEST(ArcTest, OutlineQuarterAndTheOtherQuarters)
{
    auto b = Filled(20, 20, 0);
    pix::Arc(b.get(), 10, 10, 4, -kPi / 2, 0, kWhite, 1.0f, 0, false);
    EXPECT_EQ(Window(*b), "............\n"
                          "............\n"
                          "....XXX.....\n"
                          "...X........\n"
                          "..X.........\n"
                          "..X.........\n"
                          "..X.........\n"
                          "............\n"
                          "............\n");
    // Swapped angles make no difference; the four quarters make the circle.
    auto circle = Filled(20, 20, 0);
    for (float a = -kPi / 2; a < 4; a += kPi / 2)
        pix::Arc(circle.get(), 10, 10, 4, a + kPi / 2, a, kWhite, 1.0f, 0, false);
    auto whole = Filled(20, 20, 0);
    pix::Arc(whole.get(), 10, 10, 4, 0, 2 * kPi + 0.01f, kWhite, 1.0f, 0, false);
    EXPECT_EQ(Window(*circle), Window(*whole));
    EXPECT_EQ(Window(*whole), "............\n"
                              "............\n"
                              "....XXXXX...\n"
                              "...X.....X..\n"
                              "..X.......X.\n"
                              "..X.......X.\n"
                              "..X.......X.\n"
                              "..X.......X.\n"
                              "..X.......X.\n");
}

TEST(ArcTest, AntialiasedQuarterCoverage)
{
    auto b = Filled(20, 20, 0);
    pix::Arc(b.get(), 10, 10, 4.5f, -kPi / 2, 0, kWhite, 1.0f, 0, true);
    auto expected = Filled(20, 20, 0);
    const struct {
        int x, y, w;
    } pixels[] = {{10, 6, 128}, {6, 10, 128}, {9, 6, 157}, {6, 9, 157},
                  {8, 6, 249},  {6, 8, 249},  {7, 6, 90},  {7, 7, 166}};
    for (const auto& p : pixels)
        expected->GetBits()[p.y * expected->GetRowSpan() + p.x] = Grey(p.w);
    EXPECT_EQ(Pixels(*b), Pixels(*expected));
}

TEST(ArcTest, SectorBlendsAndDegenerateInput)
{
    auto b = Filled(20, 20, 0x80808080);
    pix::FillArc(b.get(), 10, 10, 2, 0, kPi / 2, kWhite, 0.5f, 0, false);
    EXPECT_EQ(At(*b, 11, 9), 0xBFBFBFBFu);  // (d + c) >> 1
    EXPECT_EQ(At(*b, 9, 9), 0x80808080u);  // other quarter untouched
    pix::FillArc(b.get(), 10, 10, 2, 0, kPi / 2, 0xFF101010, 1.0f, 1, false);
    EXPECT_EQ(At(*b, 11, 9), 0xFFCFCFCFu);

    auto untouched = Filled(4, 4, 0);
    pix::Arc(untouched.get(), 2, 2, 1, 0, 1, kWhite, 0.001f, 0, false);
    pix::Arc(untouched.get(), 2, 2, NAN, 0, 1, kWhite, 1.0f, 0, true);
    pix::FillArc(untouched.get(), 2, 2, 1, NAN, 1, kWhite, 1.0f, 0, true);
    pix::FillArc(untouched.get(), 2, 2, 1e30f, 0, 1, kWhite, 1.0f, 0, true);
    pix::FillArc(untouched.get(), -100, -100, 3, 0, 7, kWhite, 1.0f, 0, true);
    EXPECT_EQ(Picture(*untouched, 0), "....\n....\n....\n....\n");
    PIX_MemBitmap empty(0, 0, 4);
    pix::FillArc(&empty, 0, 0, 3, 0, 7, kWhite, 1.0f, 0, true);
}

}  // namespace
