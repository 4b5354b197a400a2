#include <gtest/gtest.h>

#include "FillRect.h"
#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

std::uint32_t FillOne(std::uint32_t d, std::uint32_t c, float weight, std::uint32_t mode)
{
    auto b = Filled(1, 1, d);
    pix::FillRect(b.get(), 0, 0, 1, 1, c, weight, mode);
    return At(*b, 0, 0);
}

TEST(FillRectTest, CopyWeightCases)
{
    EXPECT_EQ(FillOne(0x12345678, 0xFFC86432, 1.0f, 0), 0xFFC86432u);
    EXPECT_EQ(FillOne(0x00000000, 0xFFFFFFFF, 0.5f, 0), 0x7F7F7F7Fu);
    // 0.25: d/2 + d/4 + c/4 and 0.75: c/2 + c/4 + d/4, all channels packed
    EXPECT_EQ(FillOne(0x80808080, 0xFFFFFFFF, 0.25f, 0), 0x9F9F9F9Fu);
    EXPECT_EQ(FillOne(0x80808080, 0xFFFFFFFF, 0.75f, 0), 0xDEDEDEDEu);
    // ia 25: colours mix by 231 / 256; alpha moves towards ia: 25 + 39 * 231 / 256
    EXPECT_EQ(FillOne(0x40204060, 0xFFC86432, 0.1f, 0), 0x3C31445Bu);
    EXPECT_EQ(FillOne(0x40204060, 0xFFC86432, 0.0f, 0), 0x40204060u);
    EXPECT_EQ(FillOne(0x40204060, 0xFFC86432, 0.002f, 0), 0x40204060u);
}

TEST(FillRectTest, UseAlphaScalesTheWeight)
{
    // alpha 128: ia = trunc(128 * (1 / 255) * 256) = 128, the packed half
    EXPECT_EQ(FillOne(0x00000000, 0x80FF0000, 1.0f, 0x10000), 0x407F0000u);
    EXPECT_EQ(FillOne(0x12345678, 0x00FF0000, 1.0f, 0x10000), 0x12345678u);
    EXPECT_EQ(FillOne(0x12345678, 0xFFC86432, 1.0f, 0x10000), 0xFFC86432u);
}

TEST(FillRectTest, AddAndDodge)
{
    // add at ia 128: d + c / 2 per colour, alpha + 128 * 128 / 256
    EXPECT_EQ(FillOne(0x40204060, 0xFFC86432, 0.5f, 1), 0x80847279u);
    EXPECT_EQ(FillOne(0xF0F0F0F0, 0xFFFFFFFF, 1.0f, 1), 0xFFFFFFFFu);
    // dodge at ia 128: k = c / 2 (alpha 64); d * 256 / (256 - k)
    EXPECT_EQ(FillOne(0x40204060, 0xFFC86432, 0.5f, 2), 0x55344F6Au);
    EXPECT_EQ(FillOne(0x01000001, 0xFFFFFFFF, 1.0f, 2), 0xFF0000FFu);
    EXPECT_EQ(FillOne(0x40204060, 0xFFC86432, 1.0f, 4), 0x40204060u);  // reserved
}

TEST(FillRectTest, ClipsAtEveryEdge)
{
    const auto fill = [](int x, int y, int w, int h) {
        auto b = Filled(4, 3, 0);
        pix::FillRect(b.get(), x, y, w, h, 0xFFFFFFFF, 1.0f, 0);
        return Picture(*b, 0);
    };
    EXPECT_EQ(fill(-2, -1, 4, 3), "XX..\nXX..\n....\n");
    EXPECT_EQ(fill(3, 2, 10, 10), "....\n....\n...X\n");
    EXPECT_EQ(fill(1, 1, 2, 1), "....\n.XX.\n....\n");
    EXPECT_EQ(fill(4, 0, 1, 1), "....\n....\n....\n");
    EXPECT_EQ(fill(0, 3, 1, 1), "....\n....\n....\n");
    EXPECT_EQ(fill(-5, 0, 5, 3), "....\n....\n....\n");
    EXPECT_EQ(fill(0, 0, -1, 3), "....\n....\n....\n");
    EXPECT_EQ(fill(-3, -3, 2147483647, 2147483647), "XXXX\nXXXX\nXXXX\n");
    EXPECT_EQ(fill(-2147483647, 0, 2147483647, 3), "....\n....\n....\n");
    EXPECT_EQ(fill(2, 0, 2147483647, 3), "..XX\n..XX\n..XX\n");
    PIX_MemBitmap empty(0, 0, 4);
    pix::FillRect(&empty, 0, 0, 4, 4, 0xFFFFFFFF, 1.0f, 0);
    pix::FillRect(nullptr, 0, 0, 4, 4, 0xFFFFFFFF, 1.0f, 0);
}

}  // namespace
