#include <gtest/gtest.h>
#include <png.h>

#if defined(_WIN32)
#include "platform/ModuleInfo.h"
#include "platform/SharedLibrary.h"
#else
#include <dlfcn.h>
#endif

#include "EmbeddedResources.h"
#include "PIX_SysBitmap.h"
#include "PngDecoder.h"
#include "PngWriter.h"
#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

std::vector<std::uint32_t> Decode(const PngImage& image)
{
    const std::vector<std::uint8_t> file = WritePng(image);
    EXPECT_FALSE(file.empty());
    auto bitmap = pix::DecodePngData(file.data(), file.size());
    if (!bitmap)
        return {};
    EXPECT_EQ(bitmap->GetWidth(), image.width);
    EXPECT_EQ(bitmap->GetHeight(), image.height);
    return Pixels(*bitmap);
}

TEST(PngDecoderTest, PaletteWithTransparency)
{
    PngImage image;
    image.colourType = PNG_COLOR_TYPE_PALETTE;
    image.width = 3;
    image.depth = 2;
    image.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    image.transparency = {0x40};  // entries without a value stay opaque
    image.rows = {0b00011000};
    EXPECT_EQ(Decode(image), (std::vector<std::uint32_t>{0x400A141E, 0xFF28323C, 0xFF46505A}));
}

TEST(PngDecoderTest, GreyDepths)
{
    PngImage one;
    one.width = 8;
    one.depth = 1;
    one.rows = {0b10110000};
    EXPECT_EQ(Decode(one), (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000,
                                                       0xFF000000, 0xFF000000, 0xFF000000}));
    PngImage two;
    two.width = 4;
    two.depth = 2;
    two.rows = {0b00011011};
    EXPECT_EQ(Decode(two), (std::vector<std::uint32_t>{0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}));
    PngImage four;
    four.width = 2;
    four.depth = 4;
    four.rows = {0x5F};
    EXPECT_EQ(Decode(four), (std::vector<std::uint32_t>{0xFF555555, 0xFFFFFFFF}));
    PngImage eight;
    eight.rows = {0x7B};
    EXPECT_EQ(Decode(eight), (std::vector<std::uint32_t>{0xFF7B7B7B}));
    PngImage sixteen;  // the high byte of each sample
    sixteen.depth = 16;
    sixteen.rows = {0xAB, 0xCD};
    EXPECT_EQ(Decode(sixteen), (std::vector<std::uint32_t>{0xFFABABAB}));
    PngImage keyed;  // a transparent grey value becomes alpha 0
    keyed.width = 2;
    keyed.rows = {7, 8};
    keyed.transparentColour = {7};
    EXPECT_EQ(Decode(keyed), (std::vector<std::uint32_t>{0x00070707, 0xFF080808}));
}

TEST(PngDecoderTest, GreyAlphaRgbAndRgba)
{
    PngImage greyAlpha;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {0x40, 0x80};
    EXPECT_EQ(Decode(greyAlpha), (std::vector<std::uint32_t>{0x80404040}));
    PngImage rgb;
    rgb.colourType = PNG_COLOR_TYPE_RGB;
    rgb.width = 2;
    rgb.rows = {1, 2, 3, 4, 5, 6};
    rgb.transparentColour = {4, 5, 6};
    EXPECT_EQ(Decode(rgb), (std::vector<std::uint32_t>{0xFF010203, 0x00040506}));
    PngImage rgba;
    rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    rgba.rows = {1, 2, 3, 4};
    EXPECT_EQ(Decode(rgba), (std::vector<std::uint32_t>{0x04010203}));
    PngImage rgba16;  // straight alpha: colours are not multiplied
    rgba16.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    rgba16.depth = 16;
    rgba16.rows = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0x01, 0x02};
    EXPECT_EQ(Decode(rgba16), (std::vector<std::uint32_t>{0x0112569A}));
}

TEST(PngDecoderTest, InterlacedIntoAPaddedDestination)
{
    PngImage image;
    image.colourType = PNG_COLOR_TYPE_RGB;
    image.width = 5;
    image.height = 5;
    image.interlaced = true;
    std::vector<std::uint32_t> expected;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            image.rows.insert(image.rows.end(), {std::uint8_t(x * 50), std::uint8_t(y * 50), std::uint8_t(x + y)});
            expected.push_back(0xFF000000u | std::uint32_t(x * 50) << 16 | std::uint32_t(y * 50) << 8 |
                               std::uint32_t(x + y));
        }
    const std::vector<std::uint8_t> file = WritePng(image);
    PIX_SysBitmap destination(2, 2);
    ASSERT_EQ(pix::DecodePngData(file.data(), file.size(), destination), &destination);
    EXPECT_EQ(destination.GetRowSpan(), 8);
    EXPECT_EQ(Pixels(destination), expected);
}

TEST(PngDecoderTest, BrokenFilesAnswerNull)
{
    PngImage image;
    image.colourType = PNG_COLOR_TYPE_RGB;
    image.width = 16;
    image.height = 16;
    image.rows.assign(16 * 16 * 3, 0x55);
    const std::vector<std::uint8_t> good = WritePng(image);
    ASSERT_NE(pix::DecodePngData(good.data(), good.size()), nullptr);

    EXPECT_EQ(pix::DecodePngData(nullptr, 100), nullptr);
    EXPECT_EQ(pix::DecodePngData(good.data(), 7), nullptr);
    std::vector<std::uint8_t> bad = good;
    bad[1] = 'Q';  // signature
    EXPECT_EQ(pix::DecodePngData(bad.data(), bad.size()), nullptr);
    for (std::size_t cut : {std::size_t(8), std::size_t(20), std::size_t(40), good.size() / 2, good.size() - 13})
        EXPECT_EQ(pix::DecodePngData(good.data(), cut), nullptr) << cut;
    bad = good;
    bad[bad.size() / 2] ^= 0xFF;  // inside the image data: CRC mismatch
    EXPECT_EQ(pix::DecodePngData(bad.data(), bad.size()), nullptr);
    bad = good;
    bad[16 + 3] = 0;  // width 0 in the header
    EXPECT_EQ(pix::DecodePngData(bad.data(), bad.size()), nullptr);
}

TEST(PngDecoderTest, HugeDeclaredSizesAreRefusedBeforeAllocating)
{
    for (auto size : {std::pair<std::uint32_t, std::uint32_t>{100000, 100000}, {16385, 1}, {1, 16385}, {8192, 4096}}) {
        const std::vector<std::uint8_t> file = HeaderOnlyPng(size.first, size.second);
        PIX_MemBitmap destination(0, 0, 4);
        EXPECT_EQ(pix::DecodePngData(file.data(), file.size(), destination), nullptr);
        EXPECT_EQ(destination.AllocatedBytes(), 0);
    }
    // Within the limits, a header without image data fails after allocating.
    const std::vector<std::uint8_t> small = HeaderOnlyPng(4, 4);
    EXPECT_EQ(pix::DecodePngData(small.data(), small.size()), nullptr);
}

TEST(PngDecoderTest, ResourcesOfThisModule)
{
    const void* self = platform::ThisModule();
    ASSERT_NE(self, nullptr);
    auto background = pix::DecodePngResource(self, 100);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetWidth(), 434);
    EXPECT_EQ(background->GetHeight(), 480);
    auto knob = pix::DecodePngResource(self, 0x70000 + 101);  // only the low 16 bits count
    ASSERT_NE(knob, nullptr);
    EXPECT_GT(knob->GetWidth(), 0);
    PIX_MemBitmap into(1, 1, 4);
    EXPECT_EQ(pix::DecodePngResource(self, 101, into), &into);
    EXPECT_EQ(Pixels(into), Pixels(*knob));

    EXPECT_EQ(pix::DecodePngResource(self, 103), nullptr);
    EXPECT_EQ(platform::FindResource(self, "ICON", 101).data, nullptr);
    EXPECT_EQ(pix::DecodePngResource(nullptr, 100), nullptr);
#if defined(_WIN32)
    // Another module (a system library; libpng is linked in here) holds none of this module's images.
    std::string error;
    const auto system = platform::SharedLibrary::Open("kernel32.dll", error);
    ASSERT_NE(system, nullptr) << error;
    const void* other = platform::ModuleOfLibraryHandle(system->Handle());
#else
    // Another module (libpng's) holds none of this module's images.
    const void* other = platform::ModuleOfAddress(reinterpret_cast<const void*>(&png_create_read_struct));
#endif
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, self);
    EXPECT_EQ(pix::DecodePngResource(other, 100), nullptr);
    // The loader's handle of the program names this module.
#if defined(_WIN32)
    EXPECT_EQ(platform::ModuleOfLibraryHandle(ModuleHandleOf(self)), self);
#else
    void* program = dlopen(nullptr, RTLD_NOW);
    EXPECT_EQ(platform::ModuleOfLibraryHandle(program), self);
    dlclose(program);
#endif
}

}  // namespace
