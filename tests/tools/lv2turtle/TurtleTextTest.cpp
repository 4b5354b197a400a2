// The Turtle forms of texts and numbers, read back with serd.
#include "TurtleReading.h"
#include "TurtleText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace vibrascend::lv2turtle {
namespace {

constexpr const char* kXsdString = "";
constexpr const char* kXsdDecimal = "http://www.w3.org/2001/XMLSchema#decimal";
constexpr const char* kXsdDouble = "http://www.w3.org/2001/XMLSchema#double";

// The text serd reads from the Turtle string literal made of `text`.
std::string ReadBack(const std::string& text)
{
    const test::TurtleReading reading = test::ReadTurtleObject(TurtleString(text));
    EXPECT_TRUE(reading.ok) << TurtleString(text);
    EXPECT_EQ(reading.objects.size(), 1u);
    if (reading.objects.size() != 1)
        return {};
    EXPECT_EQ(reading.objects[0].datatype, kXsdString);
    return reading.objects[0].text;
}

TEST(TurtleString, TextsWithQuotesBackslashesAndControlCharactersReadBackUnchanged)
{
    for (const std::string& text : {std::string("Earth's magnetic field"), std::string("say \"hi\""),
                                   std::string("back\\slash \\\" both"), std::string("tab\tnew\nline\rreturn"),
                                   std::string("bell\x07 escape\x1B del\x7F"), std::string("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5"),
                                   std::string(), std::string("\"\"\"")})
        EXPECT_EQ(ReadBack(text), text) << TurtleString(text);
    EXPECT_EQ(TurtleString("a\"b\\c"), "\"a\\\"b\\\\c\"");
}

TEST(TurtleString, BytesThatAreNotUtf8BecomeReplacementCharacters)
{
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(ReadBack("a\xFF" "b"), "a" + replacement + "b");
    EXPECT_EQ(ReadBack("cut \xE2\x82"), "cut " + replacement + replacement);
    EXPECT_EQ(ReadBack("overlong \xC0\xAF"), "overlong " + replacement + replacement);
    EXPECT_EQ(ReadBack("surrogate \xED\xA0\x80"), "surrogate " + replacement + replacement + replacement);
    EXPECT_EQ(ReadBack("\x80 stray"), replacement + " stray");
}

TEST(TurtleNumber, ReadsBackAsTheSameDoubleAndNeverAsAnInteger)
{
    const double values[] = {0.0,   -0.0,    1.0,     1000.0,  20000.0, -64.0, 0.01,  0.37,  7.83,
                             0.1 + 0.2, 1.0 / 3.0, 211.44, 1e16, 1e17, 1.5e300, 1e-300, 5e-324,
                             std::numeric_limits<double>::max(), -std::numeric_limits<double>::min(), 123456789.125};
    for (const double value : values) {
        const std::optional<std::string> number = TurtleNumber(value);
        ASSERT_TRUE(number) << value;
        const test::TurtleReading reading = test::ReadTurtleObject(*number);
        ASSERT_TRUE(reading.ok) << *number;
        ASSERT_EQ(reading.objects.size(), 1u) << *number;
        const std::string& datatype = reading.objects[0].datatype;
        EXPECT_TRUE(datatype == kXsdDecimal || datatype == kXsdDouble) << *number << " reads as " << datatype;
        const double back = std::strtod(reading.objects[0].text.c_str(), nullptr);
        EXPECT_EQ(back, value) << *number;
        EXPECT_EQ(std::signbit(back), std::signbit(value)) << *number;
    }
}

TEST(TurtleNumber, WritesTheShortestFormWithoutExponentForOrdinaryValues)
{
    EXPECT_EQ(TurtleNumber(1000.0), "1000.0");
    EXPECT_EQ(TurtleNumber(20.0), "20.0");
    EXPECT_EQ(TurtleNumber(-64.0), "-64.0");
    EXPECT_EQ(TurtleNumber(0.01), "0.01");
    EXPECT_EQ(TurtleNumber(221.23), "221.23");
    EXPECT_EQ(TurtleNumber(1e-300), "1e-300");
}

TEST(TurtleNumber, HasNoFormForNonFiniteValues)
{
    EXPECT_FALSE(TurtleNumber(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(TurtleNumber(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(TurtleNumber(-std::numeric_limits<double>::infinity()));
    EXPECT_THROW(FiniteTurtleNumber(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
}

}  // namespace
}  // namespace vibrascend::lv2turtle
