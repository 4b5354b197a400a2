// The generator's command line and the LV2 version numbers of a release.
#include "Lv2TurtleCommandLine.h"
#include "Lv2Version.h"

#include <gtest/gtest.h>

namespace vibrascend::lv2turtle {
namespace {

using Arguments = std::vector<std::string>;

const Arguments kSound = {"out", "--uri", "https://tolmira.example/vibrascend", "--binary", "Vibrascend.so",
                          "--version", "1.1.0"};

TEST(Lv2TurtleCommandLine, TakesTheFolderAndEveryOptionInAnyOrder)
{
    for (const Arguments& arguments :
         {kSound, Arguments{"--version", "1.1.0", "--binary", "Vibrascend.so", "--uri",
                            "https://tolmira.example/vibrascend", "out"}}) {
        const Lv2TurtleCommand command = ParseLv2TurtleCommandLine(arguments);
        ASSERT_EQ(command.error, "");
        EXPECT_FALSE(command.help);
        EXPECT_EQ(command.options.outDir, "out");
        EXPECT_EQ(command.options.uri, "https://tolmira.example/vibrascend");
        EXPECT_EQ(command.options.binary, "Vibrascend.so");
        EXPECT_EQ(command.options.release.major, 1u);
        EXPECT_EQ(command.options.release.minor, 1u);
        EXPECT_EQ(command.options.release.micro, 0u);
    }
    EXPECT_TRUE(ParseLv2TurtleCommandLine({"--help"}).help);
}

TEST(Lv2TurtleCommandLine, RefusesMalformedCommandLines)
{
    const auto with = [](std::size_t position, const std::string& value) {
        Arguments arguments = kSound;
        arguments[position] = value;
        return arguments;
    };
    const Arguments refused[] = {
        {},
        {"--uri", "https://tolmira.example/vibrascend", "--binary", "Vibrascend.so", "--version", "1.1.0"},
        {"out", "--uri", "https://tolmira.example/vibrascend", "--binary", "Vibrascend.so"},
        {"out", "--uri", "https://tolmira.example/vibrascend", "--binary", "Vibrascend.so", "--version"},
        {"out", "other", "--uri", "urn:x", "--binary", "a.so", "--version", "1.1.0"},
        {"out", "--uri", "urn:x", "--uri", "urn:y", "--binary", "a.so", "--version", "1.1.0"},
        {"out", "--url", "urn:x", "--binary", "a.so", "--version", "1.1.0"},
        with(0, ""),
        with(2, "https://tolmira.example/vibrascend#frag"),
        with(2, "https://tolmira.example/vib rascend"),
        with(2, "https://tolmira.example/<vibrascend>"),
        with(2, "tolmira.example/vibrascend"),
        with(2, "https:"),
        with(2, "1https://x"),
        with(2, "https://tolmira.example/caf\xC3\xA9"),
        with(4, "lib/Vibrascend.so"),
        with(4, ".."),
        with(4, "Vibra scend.so"),
        with(4, ""),
        with(6, "1.1"),
        with(6, "1.1.0.0"),
        with(6, "1.-1.0"),
        with(6, "1.1.x"),
        with(6, "1.100000.0"),
        {"--help", "out"},
    };
    for (const Arguments& arguments : refused) {
        std::string line;
        for (const std::string& argument : arguments)
            line += "[" + argument + "] ";
        const Lv2TurtleCommand command = ParseLv2TurtleCommandLine(arguments);
        EXPECT_NE(command.error, "") << line;
        EXPECT_EQ(command.error.find('\n'), std::string::npos) << line;
        EXPECT_FALSE(command.help) << line;
    }
}

TEST(Lv2Version, PublishesEveryReleaseWithEvenNumbersInReleaseOrder)
{
    const auto version = [](const char* text) { return Lv2VersionOf(ParseReleaseNumber(text).value()); };
    EXPECT_EQ(version("1.1.0").minorVersion, 2u);
    EXPECT_EQ(version("1.1.0").microVersion, 0u);
    EXPECT_EQ(version("1.2.3").minorVersion, 4u);
    EXPECT_EQ(version("1.2.3").microVersion, 6u);
    const char* releases[] = {"1.0.0", "1.0.1", "1.0.9", "1.1.0", "1.1.1", "1.9.0", "1.10.0"};
    for (std::size_t i = 0; i + 1 < std::size(releases); ++i) {
        const Lv2Version a = version(releases[i]);
        const Lv2Version b = version(releases[i + 1]);
        EXPECT_TRUE(a.minorVersion < b.minorVersion ||
                    (a.minorVersion == b.minorVersion && a.microVersion < b.microVersion))
            << releases[i] << " before " << releases[i + 1];
        EXPECT_EQ(a.minorVersion % 2, 0u);
        EXPECT_EQ(a.microVersion % 2, 0u);
    }
}

}  // namespace
}  // namespace vibrascend::lv2turtle
