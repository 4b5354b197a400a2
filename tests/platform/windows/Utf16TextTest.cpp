// Code points to UTF-16 for the wide-character text drawing: the same units the system's own
// UTF-8 conversion makes, and a replacement character for what UTF-16 cannot hold.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Utf16Text.h"

namespace {

std::wstring SystemUtf16(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(), length);
    return wide;
}

TEST(Utf16Text, AgreesWithTheSystemsUtf8Conversion)
{
    // "a&b", e acute, euro, the last BMP character, a face (U+1F600) and the last code point.
    const std::string utf8 = "a&b\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBF\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
    const std::vector<char32_t> codes{U'a', U'&', U'b', 0xE9, 0x20AC, 0xFFFF, 0x1F600, 0x10FFFF};
    const std::wstring wide = platform::Utf16FromCodePoints(codes);
    EXPECT_EQ(wide, SystemUtf16(utf8));
    ASSERT_EQ(wide.size(), 10u);
    EXPECT_EQ(unsigned(wide[6]), 0xD83Du);
    EXPECT_EQ(unsigned(wide[7]), 0xDE00u);
}

TEST(Utf16Text, UnrepresentableCodePointsBecomeReplacementCharacters)
{
    const std::vector<char32_t> codes{0xD800, 0xDFFF, 0x110000, 0xFFFFFFFF, U'x'};
    EXPECT_EQ(platform::Utf16FromCodePoints(codes), std::wstring(L"\xFFFD\xFFFD\xFFFD\xFFFDx"));
    EXPECT_TRUE(platform::Utf16FromCodePoints({}).empty());
}

}  // namespace
