#include <gtest/gtest.h>

#include <cmath>

#include "BlitRotated.h"
#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

constexpr float kQuarterTurn = 1.5707963705062866f;

std::unique_ptr<PIX_MemBitmap> Rotate(const PIX_MemBitmap& src, float angle, std::uint32_t mode, float shiftX = 0,
                                      int dstX = 0, int dstY = 0)
{
    auto dst = Filled(src.GetWidth(), src.GetHeight(), 0);
    pix::BlitRotated(dst.get(), &src, dstX, dstY, src.GetWidth(), src.GetHeight(), 0, 0, float(src.GetWidth()),
                     float(src.GetHeight()), angle, false, 1.0f, mode, shiftX, 0);
    return dst;
}

TEST(BlitRotatedTest, AngleZeroReproducesTheSource)
{
    auto src = Numbered(5, 4);
    EXPECT_EQ(Pixels(*Rotate(*src, 0, 0)), Pixels(*src));
    EXPECT_EQ(Pixels(*Rotate(*src, 0, 0x100)), Pixels(*src));
}

TEST(BlitRotatedTest, QuarterTurnSamplesPixelCorners)
{
    // The source point of destination (i, j) is (j, 4 - i): destination column
    // 0 falls on row 4, just outside the source, and stays untouched.
    auto src = Numbered(4, 4);
    for (std::uint32_t mode : {0u, 0x100u}) {
        auto dst = Rotate(*src, kQuarterTurn, mode);
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(At(*dst, 0, j), 0u);
            for (int i = 1; i < 4; ++i)
                EXPECT_EQ(At(*dst, i, j), At(*src, j, 4 - i)) << i << "," << j << " " << mode;
        }
    }
}

TEST(BlitRotatedTest, BilinearMixesNeighbours)
{
    auto src = Filled(2, 2, 0);
    src->GetBits()[0] = 0x10203040;
    src->GetBits()[1] = 0x30405061;
    src->GetBits()[src->GetRowSpan()] = 0x00000000;
    src->GetBits()[src->GetRowSpan() + 1] = 0xFFFFFFFF;
    // Half a pixel to the right: (a + b) / 2 per channel, truncated; the last
    // column takes its own pixel; the last row mixes only horizontally.
    auto dst = Rotate(*src, 0, 0x100, 0.5f);
    EXPECT_EQ(At(*dst, 0, 0), 0x20304050u);
    EXPECT_EQ(At(*dst, 1, 0), 0x30405061u);
    EXPECT_EQ(At(*dst, 0, 1), 0x7F7F7F7Fu);
    EXPECT_EQ(At(*dst, 1, 1), 0xFFFFFFFFu);
    // Without the filter the same shift samples whole pixels.
    auto nearest = Rotate(*src, 0, 0, 0.5f);
    EXPECT_EQ(At(*nearest, 0, 0), 0x10203040u);
    // Four-way: a quarter of each at (0.5, 0.5) in a 3x3 window.
    auto square = Filled(3, 3, 0);
    square->GetBits()[0] = 0x04000000;
    square->GetBits()[1] = 0x00040000;
    square->GetBits()[square->GetRowSpan()] = 0x00000400;
    square->GetBits()[square->GetRowSpan() + 1] = 0x00000004;
    auto out = Filled(3, 3, 0);
    pix::BlitRotated(out.get(), square.get(), 0, 0, 3, 3, 0, 0, 3, 3, 0, false, 1.0f, 0x100, 0.5f, 0.5f);
    EXPECT_EQ(At(*out, 0, 0), 0x01010101u);
}

TEST(BlitRotatedTest, BlendsWithTheModeAndWeight)
{
    auto src = Filled(2, 2, 0x80C86432);
    auto dst = Filled(2, 2, 0x40204060);
    pix::BlitRotated(dst.get(), src.get(), 0, 0, 2, 2, 0, 0, 2, 2, 0, false, 1.0f, 0x10100, 0, 0);
    EXPECT_EQ(At(*dst, 1, 1), 0xC0755348u);
    auto half = Filled(2, 2, 0x40204060);
    // weight 0.499 rounds to ia 128
    pix::BlitRotated(half.get(), src.get(), 0, 0, 2, 2, 0, 0, 2, 2, 0, false, 0.499f, 0x10000, 0, 0);
    EXPECT_EQ(At(*half, 0, 0), 0x804A4954u);
}

TEST(BlitRotatedTest, MirrorsAndClips)
{
    auto src = Numbered(4, 1);
    auto dst = Filled(4, 1, 0);
    pix::BlitRotated(dst.get(), src.get(), 4, 0, -4, 1, 0, 0, 4, 1, 0, false, 1.0f, 0, 0, 0);
    // Mirrored about the source's far edge: destination i samples 4 - i.
    EXPECT_EQ(At(*dst, 0, 0), 0u);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(At(*dst, i, 0), At(*src, 4 - i, 0));

    auto left = Rotate(*src, 0, 0, 0, -2);  // starts two pixels into the source
    EXPECT_EQ(At(*left, 0, 0), At(*src, 2, 0));
    EXPECT_EQ(At(*left, 1, 0), At(*src, 3, 0));
    EXPECT_EQ(At(*left, 2, 0), 0u);
    auto right = Rotate(*src, 0, 0, 0, 3);
    EXPECT_EQ(Picture(*right, 0), "...X\n");
    EXPECT_EQ(At(*right, 3, 0), At(*src, 0, 0));

    auto clipped = Filled(4, 1, 0);  // the source clip rectangle limits sampling
    pix::BlitRotated(clipped.get(), src.get(), 0, 0, 2, 1, 1, 0, 2, 1, 0, true, 1.0f, 0, 0, 0);
    EXPECT_EQ(At(*clipped, 0, 0), At(*src, 1, 0));
    EXPECT_EQ(At(*clipped, 1, 0), At(*src, 2, 0));
    EXPECT_EQ(At(*clipped, 2, 0), 0u);
}

TEST(BlitRotatedTest, DegenerateInputsDrawNothing)
{
    auto src = Numbered(3, 3);
    auto dst = Filled(3, 3, 0);
    PIX_MemBitmap empty(0, 0, 4);
    pix::BlitRotated(dst.get(), src.get(), 0, 0, 0, 3, 0, 0, 3, 3, 1, false, 1, 0x100, 0, 0);
    pix::BlitRotated(dst.get(), src.get(), 0, 0, 3, 3, 0, 0, 3, 3, NAN, false, 1, 0x100, 0, 0);
    pix::BlitRotated(dst.get(), src.get(), 0, 0, 3, 3, 0, 0, 3, 3, 0, false, 0.001f, 0x100, 0, 0);
    pix::BlitRotated(dst.get(), &empty, 0, 0, 3, 3, 0, 0, 3, 3, 0, false, 1, 0x100, 0, 0);
    pix::BlitRotated(&empty, src.get(), 0, 0, 3, 3, 0, 0, 3, 3, 0, false, 1, 0x100, 0, 0);
    EXPECT_EQ(Picture(*dst, 0), "...\n...\n...\n");
}

}  // namespace
