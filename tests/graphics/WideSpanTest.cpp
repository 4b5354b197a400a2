#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Blit.h"
#include "FillRect.h"
#include "PixelOps.h"
#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

// Rows long enough for the four-pixel groups and a tail, with alphas 0 and
// 255 among arbitrary ones: every pixel must equal the per-pixel formula.
std::unique_ptr<PIX_MemBitmap> Noise(std::uint32_t seed)
{
    auto b = Filled(13, 3, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 13; ++x) {
            seed = seed * 1664525u + 1013904223u;
            std::uint32_t p = seed;
            if (x % 5 == 1)
                p &= 0x00FFFFFF;
            if (x % 7 == 2)
                p |= 0xFF000000;
            b->GetBits()[y * b->GetRowSpan() + x] = p;
        }
    return b;
}

TEST(WideSpanTest, SourceAlphaCopyMatchesThePixelFormula)
{
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        auto src = Noise(seed), dst = Noise(seed + 100);
        const std::vector<std::uint32_t> before = Pixels(*dst), s = Pixels(*src);
        pix::Blit(dst.get(), src.get(), 0, 0, nullptr, 1.0f, 0x10000);
        const std::vector<std::uint32_t> after = Pixels(*dst);
        for (std::size_t i = 0; i < after.size(); ++i)
            ASSERT_EQ(after[i], pix::CopySourceAlphaFull(before[i], s[i])) << i;
    }
}

// Copy with source alpha at weight 1.0, written out channel by channel
// from its definition.
std::uint32_t SourceAlphaOver(std::uint32_t d, std::uint32_t s)
{
    const int sa = int(s >> 24);
    if (sa == 0)
        return d;
    if (sa == 255)
        return s;
    std::uint32_t out = std::uint32_t(std::min(int(d >> 24) + sa, 255)) << 24;
    for (int shift : {0, 8, 16}) {
        const int sc = int(s >> shift & 0xFF), dc = int(d >> shift & 0xFF);
        out |= std::uint32_t(sc + (dc - sc) * (255 - sa) / 256) << shift;
    }
    return out;
}

// Every (source channel, destination channel, source alpha) triple: source
// alpha runs along x, so each 4-pixel group holds four alphas; the colour
// channels take every value down y; each pass has one destination value.
TEST(WideSpanTest, SourceAlphaCopyMatchesTheFormulaOnEveryTriple)
{
    auto src = Filled(256, 256, 0);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            src->GetBits()[y * src->GetRowSpan() + x] =
                std::uint32_t(x) << 24 | std::uint32_t(y) << 16 | std::uint32_t(255 - y) << 8 | std::uint32_t(y ^ 0x5A);
    const std::vector<std::uint32_t> s = Pixels(*src);
    for (std::uint32_t d = 0; d < 256; ++d) {
        auto dst = Filled(256, 256, d * 0x01010101u);
        pix::Blit(dst.get(), src.get(), 0, 0, nullptr, 1.0f, 0x10000);
        const std::vector<std::uint32_t> after = Pixels(*dst);
        for (std::size_t i = 0; i < after.size(); ++i)
            ASSERT_EQ(after[i], SourceAlphaOver(d * 0x01010101u, s[i])) << "d " << d << " pixel " << i;
    }
}

// Random images with runs of transparent, opaque and partly transparent
// groups, odd widths, and source and destination starts off any 4-pixel
// boundary: inside the copied rectangle every pixel follows the formula,
// outside it nothing changes.
TEST(WideSpanTest, SourceAlphaCopyMatchesTheFormulaOnRandomImages)
{
    std::mt19937 random(12345);
    const auto below = [&](int n) { return int(random() % std::uint32_t(n)); };
    for (int trial = 0; trial < 3000; ++trial) {
        const int width = 1 + below(45), height = 1 + below(4);
        const int srcX = below(4), srcY = below(2), dstX = below(4), dstY = below(2);
        auto src = Filled(width + srcX + 3, height + srcY, 0);
        auto dst = Filled(width + dstX + 5, height + dstY + 1, 0);
        for (int y = 0; y < src->GetHeight(); ++y) {
            std::uint32_t* row = src->GetBits() + y * src->GetRowSpan();
            for (int x = 0; x < src->GetWidth(); x += 3) {
                const int kind = below(4);  // a run of up to 3: transparent, opaque or any alpha
                for (int k = x; k < std::min(x + 3, src->GetWidth()); ++k) {
                    const std::uint32_t colour = random() & 0x00FFFFFF;
                    row[k] = kind == 0   ? colour
                             : kind == 1 ? colour | 0xFF000000
                                         : colour | std::uint32_t(below(256)) << 24;
                }
            }
        }
        for (int y = 0; y < dst->GetHeight(); ++y)
            for (int x = 0; x < dst->GetWidth(); ++x)
                dst->GetBits()[y * dst->GetRowSpan() + x] = std::uint32_t(random());
        const std::vector<std::uint32_t> before = Pixels(*dst);
        pix::Blit(dst.get(), src.get(), dstX, dstY, srcX, srcY, width, height, 1.0f, 0x10000);
        for (int y = 0; y < dst->GetHeight(); ++y)
            for (int x = 0; x < dst->GetWidth(); ++x) {
                const std::uint32_t old = before[std::size_t(y * dst->GetWidth() + x)];
                const bool inside = x >= dstX && x < dstX + width && y >= dstY && y < dstY + height;
                const std::uint32_t expected =
                    inside ? SourceAlphaOver(old, At(*src, x - dstX + srcX, y - dstY + srcY)) : old;
                ASSERT_EQ(At(*dst, x, y), expected) << "trial " << trial << " at " << x << "," << y;
            }
    }
}

TEST(WideSpanTest, WeightedFillMatchesThePixelFormula)
{
    for (float weight : {0.1f, 0.3f, 0.6f, 0.99f}) {
        auto dst = Noise(7);
        const std::vector<std::uint32_t> before = Pixels(*dst);
        pix::FillRect(dst.get(), 0, 0, 13, 3, 0xFFC86432, weight, 0);
        const std::vector<std::uint32_t> after = Pixels(*dst);
        const int ia = int(weight * 256);
        for (std::size_t i = 0; i < after.size(); ++i)
            ASSERT_EQ(after[i], pix::FillCopyWeighted(before[i], 0xFFC86432, ia)) << weight << " " << i;
    }
}

}  // namespace
