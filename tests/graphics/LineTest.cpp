#include <gtest/gtest.h>

#include <cmath>

#include "Line.h"
#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

std::unique_ptr<PIX_MemBitmap> Draw(int w, int h, int x1, int y1, int x2, int y2, bool aa, float weight = 1.0f,
                                    std::uint32_t mode = 0, std::uint32_t colour = kWhite, std::uint32_t bg = 0)
{
    auto b = Filled(w, h, bg);
    pix::Line(b.get(), x1, y1, x2, y2, colour, weight, mode, aa);
    return b;
}

// The grey level w in all four channels.
std::uint32_t Grey(int w) { return 0x01010101u * std::uint32_t(w); }

TEST(LineTest, PointsAndStraightRuns)
{
    EXPECT_EQ(Picture(*Draw(4, 3, 1, 1, 1, 1, false), 0), "....\n.X..\n....\n");
    EXPECT_EQ(Picture(*Draw(4, 3, 3, 1, 0, 1, false), 0), "....\nXXXX\n....\n");
    EXPECT_EQ(Picture(*Draw(4, 3, 2, 2, 2, 0, true), 0), "..X.\n..X.\n..X.\n");
    EXPECT_EQ(Picture(*Draw(4, 3, -9, 0, -1, 2, false), 0), "....\n....\n....\n");
    EXPECT_EQ(Picture(*Draw(4, 3, -10, 2, 20, 2, false), 0), "....\n....\nXXXX\n");
}

TEST(LineTest, StraightRunWeights)
{
    const std::uint32_t d = 0x80808080;
    EXPECT_EQ(At(*Draw(2, 1, 0, 0, 1, 0, false, 0.5f, 0, kWhite, d), 1, 0), 0xBFBFBFBFu);
    EXPECT_EQ(At(*Draw(2, 1, 0, 0, 1, 0, false, 0.25f, 0, kWhite, d), 1, 0), 0x9F9F9F9Fu);
    EXPECT_EQ(At(*Draw(1, 2, 0, 0, 0, 1, false, 0.75f, 0, kWhite, d), 0, 1), 0xDEDEDEDEu);
    // ia 128 without the exact 0.5: per-channel (d + c) >> 1 keeps the low bits
    EXPECT_EQ(At(*Draw(1, 1, 0, 0, 0, 0, false, 0.5005f, 0, 0xFF030303, 0x01010101), 0, 0), 0x80020202u);
    // ia 25 on all four channels: c + (d - c) * 231 / 256
    EXPECT_EQ(At(*Draw(1, 1, 0, 0, 0, 0, false, 0.1f, 0, 0xFFC86432, 0x40204060), 0, 0), 0x5331445Bu);
    // add at ia 128 on all four channels, alpha with the colour's alpha
    EXPECT_EQ(At(*Draw(1, 1, 0, 0, 0, 0, false, 0.5f, 1, 0xFFC86432, 0x40204060), 0, 0), 0xBF847279u);
    // dodge at ia 256: k = c, so 200 -> d * 256 / 56
    EXPECT_EQ(At(*Draw(1, 1, 0, 0, 0, 0, false, 1.0f, 2, 0x00C80000, 0x00080000), 0, 0), 0x00240000u);
}

TEST(LineTest, Diagonals)
{
    EXPECT_EQ(Picture(*Draw(4, 4, 3, 0, 0, 3, false), 0), "...X\n..X.\n.X..\nX...\n");
    auto aa = Draw(4, 4, 0, 0, 3, 3, true);
    EXPECT_EQ(Picture(*aa, 0), "XX..\nXXX.\n.XXX\n..XX\n");
    EXPECT_EQ(At(*aa, 0, 0), 0xBEBEBEBEu);  // three quarters, packed
    EXPECT_EQ(At(*aa, 1, 0), 0x3F3F3F3Fu);  // a quarter, packed
    EXPECT_EQ(At(*aa, 0, 1), 0x3F3F3F3Fu);
    EXPECT_EQ(At(*aa, 3, 3), 0xBEBEBEBEu);
    // Other weights blend by ia * 3 / 4 and ia / 4: 192 -> 144 and 48.
    auto weighted = Draw(2, 2, 0, 0, 1, 1, true, 0.75f);
    EXPECT_EQ(At(*weighted, 0, 0), Grey(144));
    EXPECT_EQ(At(*weighted, 1, 0), Grey(48));
    // Clipped on both ends: (-2, -2)-(10, 10) becomes (0, 0)-(7, 7).
    auto clipped = Draw(8, 8, -2, -2, 10, 10, false);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(At(*clipped, i, i), kWhite);
}

TEST(LineTest, ShallowAndSteepFromBothEnds)
{
    EXPECT_EQ(Picture(*Draw(5, 2, 0, 0, 4, 1, false), 0), "XX...\n..XXX\n");
    EXPECT_EQ(Picture(*Draw(5, 2, 4, 1, 0, 0, false), 0), "XXX..\n...XX\n");
    EXPECT_EQ(Picture(*Draw(2, 5, 0, 0, 1, 4, false), 0), "X.\nX.\n.X\n.X\n.X\n");
    EXPECT_EQ(Picture(*Draw(6, 2, 0, 0, 5, 1, false), 0), "XXX...\n...XXX\n");
}

TEST(LineTest, AntialiasedSlopeCoverage)
{
    // slope 1/4: steps from each end give 191 / 64, the middle 127 / 128
    auto b = Draw(5, 2, 0, 0, 4, 1, true);
    const std::vector<std::uint32_t> expected{kWhite, Grey(191), Grey(127), Grey(64),  0,
                                              0,      Grey(64),  Grey(128), Grey(191), kWhite};
    EXPECT_EQ(Pixels(*b), expected);
    // at ia 128 the coverages scale by ia >> 8 and the end points average
    auto half = Draw(5, 2, 0, 0, 4, 1, true, 0.5f);
    EXPECT_EQ(At(*half, 0, 0), Grey(127));
    EXPECT_EQ(At(*half, 1, 0), Grey(95));
    EXPECT_EQ(At(*half, 1, 1), Grey(32));
}

TEST(LineTest, SubpixelLineCoverage)
{
    auto b = Filled(6, 4, 0);
    pix::SubpixelLine(b.get(), 0.0f, 1.5f, 4.0f, 1.5f, kWhite, 1.0f, 0, true);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(At(*b, x, 1), Grey(127));
        EXPECT_EQ(At(*b, x, 2), Grey(128));
    }
    EXPECT_EQ(At(*b, 5, 1), 0u);

    // Falling minor coordinate: the pair starts one row further down.
    auto down = Filled(6, 4, 0);
    pix::SubpixelLine(down.get(), 0.0f, 1.25f, 4.0f, 0.25f, kWhite, 1.0f, 0, true);
    EXPECT_EQ(At(*down, 0, 2), Grey(64));
    EXPECT_EQ(At(*down, 0, 1), Grey(191));
    EXPECT_EQ(At(*down, 1, 2), 0u);
    EXPECT_EQ(At(*down, 1, 1), kWhite);
    EXPECT_EQ(At(*down, 2, 1), Grey(192));
    EXPECT_EQ(At(*down, 2, 0), Grey(63));
    EXPECT_EQ(At(*down, 4, 0), Grey(191));

    // Without anti-aliasing the end points are truncated.
    auto plain = Filled(4, 2, 0);
    pix::SubpixelLine(plain.get(), 0.9f, 1.7f, 3.99f, 1.2f, kWhite, 1.0f, 0, false);
    EXPECT_EQ(Picture(*plain, 0), "....\nXXXX\n");

    // Clipped to leave the pair's second pixel inside; coinciding and
    // non-finite end points draw nothing.
    auto edge = Filled(4, 3, 0);
    pix::SubpixelLine(edge.get(), -5.0f, 2.5f, 10.0f, 2.5f, kWhite, 1.0f, 0, true);
    pix::SubpixelLine(edge.get(), 1.0f, 1.0f, 1.0f, 1.0f, kWhite, 1.0f, 0, true);
    pix::SubpixelLine(edge.get(), NAN, 1.0f, 2.0f, 1.0f, kWhite, 1.0f, 0, true);
    EXPECT_EQ(Picture(*edge, 0), "....\n....\n....\n");
}

}  // namespace
