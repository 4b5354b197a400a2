#include "command_line.h"
#include "host_error.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace vibrascend::host::test {
namespace {

CommandLine parse(std::vector<std::string_view> arguments) {
    return parseCommandLine(arguments);
}

std::string failure(std::vector<std::string_view> arguments) {
    try {
        parse(std::move(arguments));
    } catch (const UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(CommandLineParsing, CommandsAndDefaults) {
    EXPECT_EQ(parse({}).command, Command::Demo);
    EXPECT_EQ(parse({"--plugin", "/x/Vibrascend.vst3"}).command, Command::Demo);
    EXPECT_EQ(parse({"--plugin", "/x/Vibrascend.vst3"}).plugin, std::filesystem::path("/x/Vibrascend.vst3"));
    EXPECT_EQ(parse({"params"}).command, Command::Params);
    EXPECT_EQ(parse({"--plugin", "p", "params"}).command, Command::Params);
    EXPECT_EQ(parse({"--double", "render", "a", "b"}).input, std::filesystem::path("a"));
    EXPECT_EQ(parse({"render", "params", "b"}).input, std::filesystem::path("params"));
    EXPECT_EQ(parse({"presets", "--plugin=p"}).plugin, std::filesystem::path("p"));
    EXPECT_EQ(parse({"render", "a.wav", "b.wav", "--help"}).command, Command::Help);
    EXPECT_EQ(parse({"-h"}).command, Command::Help);
    const CommandLine demo = parse({"demo", "--rate", "8000", "--double"});
    EXPECT_EQ(demo.rate, 8000.0);
    EXPECT_TRUE(demo.doublePrecision);
    EXPECT_EQ(demo.block, kDefaultBlock);
}

TEST(CommandLineParsing, RenderTakesFilesAndEveryOptionInAnyOrder) {
    const CommandLine line = parse({"render", "--preset", "7.83", "in.wav", "--set", " Split Freq = 800 ", "out.wav",
                                    "--set=LFO1 Wave=Triangle", "--rate=44100.5", "--block", "64", "--double",
                                    "--state-in", "s.bin", "--state-out", "t.bin"});
    EXPECT_EQ(line.command, Command::Render);
    EXPECT_EQ(line.input, std::filesystem::path("in.wav"));
    EXPECT_EQ(line.output, std::filesystem::path("out.wav"));
    EXPECT_EQ(line.preset, "7.83");
    ASSERT_EQ(line.settings.size(), 2u);
    EXPECT_EQ(line.settings[0].name, "Split Freq");
    EXPECT_EQ(line.settings[0].value, "800");
    EXPECT_EQ(line.settings[1].name, "LFO1 Wave");
    EXPECT_EQ(line.settings[1].value, "Triangle");
    EXPECT_EQ(line.rate, 44100.5);
    EXPECT_EQ(line.block, 64);
    EXPECT_TRUE(line.doublePrecision);
    EXPECT_EQ(line.stateIn, std::filesystem::path("s.bin"));
    EXPECT_EQ(line.stateOut, std::filesystem::path("t.bin"));
}

TEST(CommandLineParsing, MistakesAreNamed) {
    EXPECT_NE(failure({"render", "in.wav"}).find("input and an output"), std::string::npos);
    EXPECT_NE(failure({"render", "a", "b", "c"}).find("input and an output"), std::string::npos);
    EXPECT_NE(failure({"params", "extra"}).find("unexpected argument \"extra\""), std::string::npos);
    EXPECT_NE(failure({"render", "a", "b", "--bogus", "1"}).find("unknown option --bogus"), std::string::npos);
    EXPECT_NE(failure({"render", "a", "b", "--bogus"}).find("unknown option --bogus"), std::string::npos);
    EXPECT_NE(failure({"params", "--preset", "3"}).find("unknown option --preset"), std::string::npos);
    EXPECT_NE(failure({"demo", "--set", "a=1"}).find("unknown option --set"), std::string::npos);
    EXPECT_NE(failure({"render", "a", "b", "--block"}).find("--block needs a value"), std::string::npos);
    EXPECT_NE(failure({"render", "a", "b", "--double=yes"}).find("takes no value"), std::string::npos);
    for (std::string_view block : {"0", "-1", "65537", "12x", "", "99999999999"}) {
        EXPECT_NE(failure({"render", "a", "b", "--block", block}).find("--block needs"), std::string::npos) << block;
    }
    for (std::string_view rate : {"7999", "384001", "nan", "inf", "1e400", "48k"}) {
        EXPECT_NE(failure({"render", "a", "b", "--rate", rate}).find("--rate needs"), std::string::npos) << rate;
    }
    for (std::string_view setting : {"Split Freq", "=800", "Split Freq=", "  =  "}) {
        EXPECT_NE(failure({"render", "a", "b", "--set", setting}).find("NAME=VALUE"), std::string::npos) << setting;
    }
    EXPECT_NE(failure({"render", "a", "b", "--preset", " "}).find("--preset needs"), std::string::npos);
}

}  // namespace
}  // namespace vibrascend::host::test
