#include <gtest/gtest.h>

#include "Blit.h"
#include "FillRect.h"
#include "PixelOps.h"
#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

// Rows long enough for the four-pixel groups and a tail, with alphas 0 and
// 255 among arbitrary ones: every pixel must equal the per-pixel formula.
std::unique_ptr<PIX_MemBitmap> Noise(std::uint32_t seed) {
  auto b = Filled(13, 3, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 13; ++x) {
      seed = seed * 1664525u + 1013904223u;
      std::uint32_t p = seed;
      if (x % 5 == 1) p &= 0x00FFFFFF;
      if (x % 7 == 2) p |= 0xFF000000;
      b->GetBits()[y * b->GetRowSpan() + x] = p;
    }
  return b;
}

TEST(WideSpanTest, SourceAlphaCopyMatchesThePixelFormula) {
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    auto src = Noise(seed), dst = Noise(seed + 100);
    const std::vector<std::uint32_t> before = Pixels(*dst), s = Pixels(*src);
    pix::Blit(dst.get(), src.get(), 0, 0, nullptr, 1.0f, 0x10000);
    const std::vector<std::uint32_t> after = Pixels(*dst);
    for (std::size_t i = 0; i < after.size(); ++i)
      ASSERT_EQ(after[i], pix::CopySourceAlphaFull(before[i], s[i])) << i;
  }
}

TEST(WideSpanTest, WeightedFillMatchesThePixelFormula) {
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
