#include <gtest/gtest.h>

#include <cstdint>

#include "IArgb.h"
#include "IBox.h"
#include "PIX_MemBitmap.h"
#include "PIX_SysBitmap.h"

namespace {

bool Aligned64(const void* p) { return reinterpret_cast<std::uintptr_t>(p) % 64 == 0; }

TEST(IBoxTest, IntersectionAndUnion)
{
    const IBox a{0, 0, 10, 10}, b{5, 5, 20, 20}, touching{10, 0, 20, 10}, empty{};
    EXPECT_EQ(a.Intersect(b), (IBox{5, 5, 10, 10}));
    EXPECT_TRUE(a.Intersect(touching).IsEmpty());  // shared edge is no overlap
    EXPECT_TRUE(a.Intersect(empty).IsEmpty());
    EXPECT_EQ(a.Union(b), (IBox{0, 0, 20, 20}));
    EXPECT_EQ(empty.Union(b), b);
    EXPECT_EQ(b.Union(empty), b);
}

TEST(IArgbTest, PacksMaskedChannels)
{
    EXPECT_EQ((IArgb{0x12, 0x34, 0x56, 0x78}.Pack()), 0x12345678u);
    EXPECT_EQ((IArgb{0x1FF, -1, 0, 0x100}.Pack()), 0xFFFF0000u);
}

TEST(MemBitmapTest, RowSpanFollowsAlignment)
{
    EXPECT_EQ(PIX_MemBitmap(5, 2, 4).GetRowSpan(), 8);
    EXPECT_EQ(PIX_MemBitmap(5, 2, 1).GetRowSpan(), 5);
    EXPECT_EQ(PIX_MemBitmap(5, 2, 6).GetRowSpan(), 6);  // lowest set bit 2
    EXPECT_EQ(PIX_MemBitmap(5, 2, 64).GetRowSpan(), 16);  // capped at 16
    PIX_MemBitmap empty(0, 0, 4);
    EXPECT_EQ(empty.GetWidth(), 0);
    EXPECT_EQ(empty.GetBits(), nullptr);
}

TEST(MemBitmapTest, GrowsWithHeadroomAndNeverShrinks)
{
    PIX_MemBitmap b(10, 10, 4);
    ASSERT_NE(b.GetBits(), nullptr);
    EXPECT_TRUE(Aligned64(b.GetBits()));
    EXPECT_EQ(b.AllocatedBytes(), 10 * 12 * 4 / 4 * 5);
    b.GetBits()[0] = 0xDEADBEEF;
    std::uint32_t* const block = b.GetBits();
    EXPECT_FALSE(b.Resize(10, 10));
    EXPECT_EQ(b.GetBits()[0], 0xDEADBEEFu);

    EXPECT_TRUE(b.Resize(5, 5));
    EXPECT_EQ(b.GetBits(), block);
    EXPECT_TRUE(b.Resize(10, 10));
    EXPECT_EQ(b.GetBits(), block);
    EXPECT_EQ(b.AllocatedBytes(), 600);

    EXPECT_TRUE(b.Resize(11, 12));  // 12 * 12 * 4 = 576 still fits in 600
    EXPECT_EQ(b.AllocatedBytes(), 600);
    EXPECT_TRUE(b.Resize(40, 40));
    EXPECT_EQ(b.AllocatedBytes(), 40 * 40 * 4 / 4 * 5);
    EXPECT_TRUE(Aligned64(b.GetBits()));
}

TEST(MemBitmapTest, ZeroNegativeAndHugeSizesLeaveAnEmptyBitmap)
{
    PIX_MemBitmap b(10, 10, 4);
    EXPECT_TRUE(b.Resize(0, 10));
    EXPECT_EQ(b.GetBits(), nullptr);
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_EQ(b.GetHeight(), 0);
    EXPECT_TRUE(b.Resize(-3, 4));
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_TRUE(b.Resize(100000, 100000));
    EXPECT_EQ(b.GetBits(), nullptr);
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_EQ(b.AllocatedBytes(), 0);
}

TEST(SysBitmapTest, AllocationRules)
{
    PIX_SysBitmap b(5, 3);
    EXPECT_EQ(b.GetRowSpan(), 8);
#if defined(_WIN32)
    EXPECT_NE(b.GetDC(), nullptr);  // the memory device context the window blits from
#else
    EXPECT_EQ(b.GetDC(), nullptr);
#endif
    EXPECT_FALSE(b.IsFlipped());
    ASSERT_NE(b.GetBits(), nullptr);
    EXPECT_TRUE(Aligned64(b.GetBits()));
    std::uint32_t* const block = b.GetBits();
    EXPECT_FALSE(b.Resize(5, 3));
    EXPECT_TRUE(b.Resize(2, 2));  // shrinking keeps the section and the span
    EXPECT_EQ(b.GetBits(), block);
    EXPECT_EQ(b.GetRowSpan(), 8);
    EXPECT_EQ(b.GetWidth(), 2);
    EXPECT_TRUE(b.Resize(9, 3));  // wider than allocated: new span
    EXPECT_EQ(b.GetRowSpan(), 12);
    EXPECT_EQ(b.AllocatedHeight(), 3);
}

TEST(SysBitmapTest, NoPixelsMeansEmpty)
{
    PIX_SysBitmap b(4, 4);
    EXPECT_FALSE(b.Resize(0, 5));
    EXPECT_EQ(b.GetBits(), nullptr);
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_EQ(b.GetHeight(), 0);
    PIX_SysBitmap huge(100000, 100000);
    EXPECT_EQ(huge.GetBits(), nullptr);
    EXPECT_EQ(huge.GetWidth(), 0);
}

}  // namespace
