// UTF-8 decoding for text: the forgiving walk and the strict conversion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Utf8Text.h"

namespace {

std::vector<char32_t> Walk(std::string_view text)
{
    std::vector<char32_t> codes;
    for (std::size_t i = 0; i < text.size();) {
        const pix::Utf8Step step = pix::NextCodePoint(text.substr(i));
        codes.push_back(step.code);
        i += std::size_t(step.length);
    }
    return codes;
}

long Strict(std::string_view text, std::vector<char32_t>& out)
{
    out.assign(text.size() + 1, 0);
    const long n = pix::DecodeUtf8(text, out.data());
    if (n >= 0)
        out.resize(std::size_t(n));
    return n;
}

TEST(Utf8Text, WalkDecodesSequencesAndKeepsStrayBytes)
{
    EXPECT_EQ(Walk("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), (std::vector<char32_t>{U'A', 0xE9, 0x20AC, 0x1F600}));
    EXPECT_EQ(Walk("\xE9z"), (std::vector<char32_t>{0xE9, U'z'}));  // lead without continuation
    EXPECT_EQ(Walk("\xE2\x82"), (std::vector<char32_t>{0xE2, 0x82}));  // cut short
    EXPECT_EQ(Walk("\x80\xC0\xAF\xF5\xFF"), (std::vector<char32_t>{0x80, 0xC0, 0xAF, 0xF5, 0xFF}));
}

TEST(Utf8Text, StrictConversionRefusesMalformedInput)
{
    std::vector<char32_t> out;
    EXPECT_EQ(Strict("1000 Hz", out), 7);
    EXPECT_EQ(Strict("\xC3\xA9\xE2\x82\xAC\xF4\x8F\xBF\xBF", out), 3);
    EXPECT_EQ(out, (std::vector<char32_t>{0xE9, 0x20AC, 0x10FFFF}));
    for (const char* bad : {"\xE9", "a\xC3", "\xE0\x80\x80", "\xF0\x80\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xC0\xAF", "\xFF", "\x80"})
        EXPECT_EQ(Strict(bad, out), -1) << bad;
}

}  // namespace
