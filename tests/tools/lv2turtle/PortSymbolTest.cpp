// Port symbols made from parameter names.
#include "PortSymbol.h"

#include <gtest/gtest.h>

namespace vibrascend::lv2turtle {
namespace {

TEST(PortSymbol, LowercasesAndJoinsWordsWithOneUnderscore)
{
    EXPECT_EQ(PortSymbol("Split Freq"), "split_freq");
    EXPECT_EQ(PortSymbol("LFO1 Target"), "lfo1_target");
    EXPECT_EQ(PortSymbol("Damping"), "damping");
    EXPECT_EQ(PortSymbol("Out  -  Gain"), "out_gain");
    EXPECT_EQ(PortSymbol(" Edge. "), "_edge_");
    EXPECT_EQ(PortSymbol("Gr\xC3\xB6\xC3\x9F" "e"), "gr_e");
}

TEST(PortSymbol, AlwaysMakesAValidSymbol)
{
    EXPECT_EQ(PortSymbol("2nd Gain"), "_2nd_gain");
    EXPECT_EQ(PortSymbol(""), "_");
    for (const char* name : {"Split Freq", "2nd Gain", "", "%", "\xC3\xA9", "a b", "LFO2 Depth"})
        EXPECT_TRUE(IsPortSymbol(PortSymbol(name))) << name;
}

TEST(PortSymbol, ValidSymbolsAreLettersDigitsAndUnderscoresNotStartingWithADigit)
{
    EXPECT_TRUE(IsPortSymbol("split_freq"));
    EXPECT_TRUE(IsPortSymbol("_1"));
    EXPECT_FALSE(IsPortSymbol("1a"));
    EXPECT_FALSE(IsPortSymbol(""));
    EXPECT_FALSE(IsPortSymbol("a-b"));
    EXPECT_FALSE(IsPortSymbol("a b"));
}

}  // namespace
}  // namespace vibrascend::lv2turtle
