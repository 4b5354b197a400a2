// The back buffer's storage on Windows: a 32-bit top-down DIB section in a memory device
// context, the context's former bitmap back in place whenever the section goes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "platform/SysBitmapStorage.h"

namespace {

HDC ContextOf(const platform::SysBitmapStorage& storage) { return static_cast<HDC>(storage.Context()); }
HGDIOBJ SelectedBitmap(HDC dc) { return GetCurrentObject(dc, OBJ_BITMAP); }

TEST(SysBitmapStorageWindows, SectionIsATopDown32BitDibInTheContext)
{
    platform::SysBitmapStorage storage;
    ASSERT_TRUE(storage.Usable());
    HDC dc = ContextOf(storage);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC));
    std::uint32_t* bits = storage.Allocate(8, 3);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bits) % 64, 0u);
    DIBSECTION section{};
    ASSERT_EQ(GetObject(SelectedBitmap(dc), sizeof section, &section), int(sizeof section));
    EXPECT_EQ(section.dsBm.bmBits, bits);
    EXPECT_EQ(section.dsBm.bmWidth, 8);
    EXPECT_EQ(section.dsBm.bmHeight, 3);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(section.dsBmih.biSize, DWORD(sizeof(BITMAPINFOHEADER)));
    EXPECT_EQ(section.dsBmih.biCompression, DWORD(BI_RGB));
}

TEST(SysBitmapStorageWindows, RowZeroIsTheTopRowForTheSystemToo)
{
    platform::SysBitmapStorage storage;
    std::uint32_t* bits = storage.Allocate(4, 3);
    ASSERT_NE(bits, nullptr);
    HDC dc = ContextOf(storage);
    for (int i = 0; i < 12; ++i)
        bits[i] = 0xFF000000u;
    bits[0] = 0xFFFF0000u;  // red at the top left
    bits[2 * 4 + 3] = 0xFF00FF00u;  // green at the bottom right
    GdiFlush();
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 2), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 0, 2), RGB(0, 0, 0));
    // What the system draws lands in the row the pixel pointer says.
    RECT bar{0, 1, 4, 2};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &bar, blue);
    DeleteObject(blue);
    GdiFlush();
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(bits[4 + x] & 0xFFFFFFu, 0x0000FFu) << x;
        EXPECT_NE(bits[x] & 0xFFFFFFu, 0x0000FFu) << x;
        EXPECT_NE(bits[8 + x] & 0xFFFFFFu, 0x0000FFu) << x;
    }
}

TEST(SysBitmapStorageWindows, ReleaseRestoresTheFormerBitmapAndDeletesTheSection)
{
    platform::SysBitmapStorage storage;
    HDC dc = ContextOf(storage);
    const HGDIOBJ original = SelectedBitmap(dc);
    ASSERT_NE(original, nullptr);
    ASSERT_NE(storage.Allocate(16, 16), nullptr);
    const HGDIOBJ first = SelectedBitmap(dc);
    EXPECT_NE(first, original);
    // A new allocation replaces the section: the old one is gone, the former bitmap still known.
    ASSERT_NE(storage.Allocate(32, 8), nullptr);
    const HGDIOBJ second = SelectedBitmap(dc);
    EXPECT_EQ(GetObjectType(first), 0u);
    storage.Release();
    EXPECT_EQ(SelectedBitmap(dc), original);
    EXPECT_EQ(GetObjectType(second), 0u);
    storage.Release();  // nothing held: no change
    EXPECT_EQ(SelectedBitmap(dc), original);
}

TEST(SysBitmapStorageWindows, RefusedSizesHoldNothing)
{
    platform::SysBitmapStorage storage;
    HDC dc = ContextOf(storage);
    const HGDIOBJ original = SelectedBitmap(dc);
    ASSERT_NE(storage.Allocate(4, 4), nullptr);
    for (auto size :
         {std::pair{0, 5}, std::pair{5, 0}, std::pair{-4, 4}, std::pair{4, -1}, std::pair{100000, 100000}}) {
        EXPECT_EQ(storage.Allocate(size.first, size.second), nullptr) << size.first << "x" << size.second;
        EXPECT_EQ(SelectedBitmap(dc), original);
    }
    EXPECT_NE(storage.Allocate(4, 4), nullptr);  // still usable afterwards
}

TEST(SysBitmapStorageWindows, DestructionDeletesContextAndSection)
{
    HDC dc = nullptr;
    HGDIOBJ section = nullptr;
    {
        platform::SysBitmapStorage storage;
        ASSERT_NE(storage.Allocate(8, 8), nullptr);
        dc = ContextOf(storage);
        section = SelectedBitmap(dc);
        ASSERT_NE(GetObjectType(section), 0u);
    }
    EXPECT_EQ(GetObjectType(section), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

}  // namespace
