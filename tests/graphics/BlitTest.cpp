#include <gtest/gtest.h>

#include "Blit.h"
#include "RasterMode.h"
#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

// Blends one source pixel onto one destination pixel.
std::uint32_t BlitOne(std::uint32_t d, std::uint32_t s, float weight, std::uint32_t mode)
{
    auto dst = Filled(1, 1, d);
    auto src = Filled(1, 1, s);
    pix::Blit(dst.get(), src.get(), 0, 0, nullptr, weight, mode);
    return At(*dst, 0, 0);
}

constexpr std::uint32_t kSrc = 0x80C86432;  // A 128, R 200, G 100, B 50
constexpr std::uint32_t kDst = 0x40204060;  // A 64, R 32, G 64, B 96

TEST(BlitTest, PlainCopyWeights)
{
    EXPECT_EQ(BlitOne(kDst, kSrc, 1.0f, 0), kSrc);
    EXPECT_EQ(BlitOne(0x00000000, 0xFFFFFFFF, 0.5f, 0), 0x7F7F7F7Fu);
    EXPECT_EQ(BlitOne(0x01030507, 0xFFFFFFFF, 0.5f, 0), 0x7F808182u);  // low bits dropped
    // weight 0.25: s + (d - s) * 192 / 256, truncating toward zero (R: -179.25 -> -179)
    EXPECT_EQ(BlitOne(0x40102030, 0x80FF4020, 0.25f, 0), 0x504C282Cu);
    EXPECT_EQ(BlitOne(kDst, kSrc, 1.001f, 0), kSrc);  // ia 256 copies
    EXPECT_EQ(BlitOne(kDst, kSrc, 0.003f, 0), kDst);  // ia 0 draws nothing
    EXPECT_EQ(BlitOne(kDst, kSrc, 0.0f, 0x10000), kDst);
    EXPECT_EQ(BlitOne(kDst, kSrc, -1.0f, 0), kDst);
}

TEST(BlitTest, CopyWithSourceAlpha)
{
    EXPECT_EQ(BlitOne(kDst, 0x00FFFFFF, 1.0f, 0x10000), kDst);
    EXPECT_EQ(BlitOne(kDst, 0xFF123456, 1.0f, 0x10000), 0xFF123456u);
    // alpha min(64 + 128, 255); colours s + (d - s) * 127 / 256
    EXPECT_EQ(BlitOne(kDst, kSrc, 1.0f, 0x10000), 0xC0755348u);
    EXPECT_EQ(BlitOne(0xF0204060, kSrc, 1.0f, 0x10000) >> 24, 0xFFu);
    // ia 128: w = 128 * 129 / 256 = 64; alpha 64 + 64; colours by 192 / 256
    EXPECT_EQ(BlitOne(kDst, kSrc, 0.5f, 0x10000), 0x804A4954u);
    EXPECT_EQ(BlitOne(kDst, 0x00FFFFFF, 0.5f, 0x10000), kDst);
}

TEST(BlitTest, AddWithSourceAlpha)
{
    // w = 129: d + s * 129 / 256, alpha 64 + 128 * 129 / 256
    EXPECT_EQ(BlitOne(kDst, kSrc, 1.0f, 0x10001), 0x80847279u);
    EXPECT_EQ(BlitOne(0xF0F0F0F0, 0xFFFFFFFF, 1.0f, 0x10001), 0xFFFFFFFFu);
    EXPECT_EQ(BlitOne(kDst, 0x00FFFFFF, 1.0f, 0x10001), kDst);
}

TEST(BlitTest, DodgeWithSourceAlpha)
{
    // k = s * 129 / 256 (alpha: 128 * 129 / 256); d * 256 / (256 - k)
    EXPECT_EQ(BlitOne(kDst, kSrc, 1.0f, 0x10002), 0x55344F6Au);
    // k = 255 > 254 saturates whatever is lit, leaves 0 at 0
    EXPECT_EQ(BlitOne(0x01000000, 0xFFFFFFFF, 1.0f, 0x10002), 0xFF000000u);
    EXPECT_EQ(BlitOne(kDst, kSrc, 1.0f, 0x10005), kDst);  // reserved operation
}

TEST(BlitTest, ClipsAtEveryEdge)
{
    auto src = Numbered(4, 4);
    const auto blitAt = [&](int x, int y, const IBox* rect) {
        auto dst = Filled(4, 4, 0);
        pix::Blit(dst.get(), src.get(), x, y, rect, 1.0f, 0);
        return dst;
    };
    auto d = blitAt(-1, -2, nullptr);  // left and top
    EXPECT_EQ(At(*d, 0, 0), At(*src, 1, 2));
    EXPECT_EQ(At(*d, 2, 1), At(*src, 3, 3));
    EXPECT_EQ(At(*d, 3, 0), 0u);
    EXPECT_EQ(At(*d, 0, 2), 0u);

    d = blitAt(3, 2, nullptr);  // right and bottom
    EXPECT_EQ(Picture(*d, 0), "....\n....\n...X\n...X\n");
    EXPECT_EQ(At(*d, 3, 3), At(*src, 0, 1));

    const IBox negative{-1, -1, 2, 2};  // negative source origin moves the destination
    d = blitAt(0, 0, &negative);
    EXPECT_EQ(Picture(*d, 0), "....\n.XX.\n.XX.\n....\n");
    EXPECT_EQ(At(*d, 1, 1), At(*src, 0, 0));

    const IBox wide{2, 1, 10, 3};  // source right and bottom limited to the source
    d = blitAt(0, 0, &wide);
    EXPECT_EQ(Picture(*d, 0), "XX..\nXX..\n....\n....\n");
    EXPECT_EQ(At(*d, 1, 1), At(*src, 3, 2));

    EXPECT_EQ(Picture(*blitAt(4, 0, nullptr), 0), "....\n....\n....\n....\n");
    EXPECT_EQ(Picture(*blitAt(0, -4, nullptr), 0), "....\n....\n....\n....\n");
    const IBox inverted{3, 0, 1, 4};
    EXPECT_EQ(Picture(*blitAt(0, 0, &inverted), 0), "....\n....\n....\n....\n");
}

TEST(BlitTest, ConvenienceFormAndEmptyBitmaps)
{
    auto src = Numbered(4, 4);
    auto dst = Filled(4, 4, 0);
    pix::Blit(dst.get(), src.get(), 0, 0, 1, 1, 2, 1, 1.0f, 0);
    EXPECT_EQ(Picture(*dst, 0), "XX..\n....\n....\n....\n");
    EXPECT_EQ(At(*dst, 1, 0), At(*src, 2, 1));

    PIX_MemBitmap empty(0, 0, 4);
    pix::Blit(&empty, src.get(), 0, 0, nullptr, 1.0f, 0);
    pix::Blit(dst.get(), &empty, 0, 0, nullptr, 1.0f, 0x10000);
    pix::Blit(nullptr, src.get(), 0, 0, nullptr, 1.0f, 0);
    EXPECT_EQ(At(*dst, 0, 0), At(*src, 1, 1));
}

}  // namespace
