#include "CommandLine.h"
#include "HostError.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace vibrascend::host::test {
namespace {

CommandLine Parse(std::vector<std::string_view> arguments) { return ParseCommandLine(arguments); }

std::string Failure(std::vector<std::string_view> arguments)
{
    try {
        Parse(std::move(arguments));
    } catch (const UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(CommandLineParsing, CommandsAndDefaults)
{
    EXPECT_EQ(Parse({}).command, Command::Demo);
    EXPECT_EQ(Parse({"--plugin", "/x/Vibrascend.vst3"}).command, Command::Demo);
    EXPECT_EQ(Parse({"--plugin", "/x/Vibrascend.vst3"}).plugin, std::filesystem::path("/x/Vibrascend.vst3"));
    EXPECT_EQ(Parse({"params"}).command, Command::Params);
    EXPECT_EQ(Parse({"--plugin", "p", "params"}).command, Command::Params);
    EXPECT_EQ(Parse({"--double", "render", "a", "b"}).input, std::filesystem::path("a"));
    EXPECT_EQ(Parse({"render", "params", "b"}).input, std::filesystem::path("params"));
    EXPECT_EQ(Parse({"presets", "--plugin=p"}).plugin, std::filesystem::path("p"));
    EXPECT_EQ(Parse({"render", "a.wav", "b.wav", "--help"}).command, Command::Help);
    EXPECT_EQ(Parse({"-h"}).command, Command::Help);
    const CommandLine demo = Parse({"demo", "--rate", "8000", "--double"});
    EXPECT_EQ(demo.rate, 8000.0);
    EXPECT_TRUE(demo.doublePrecision);
    EXPECT_EQ(demo.block, kDefaultBlock);
}

TEST(CommandLineParsing, RenderTakesFilesAndEveryOptionInAnyOrder)
{
    const CommandLine line = Parse({"render", "--preset", "7.83", "in.wav", "--set", " Split Freq = 800 ", "out.wav",
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

TEST(CommandLineParsing, MistakesAreNamed)
{
    EXPECT_NE(Failure({"render", "in.wav"}).find("input and an output"), std::string::npos);
    EXPECT_NE(Failure({"render", "a", "b", "c"}).find("input and an output"), std::string::npos);
    EXPECT_NE(Failure({"params", "extra"}).find("unexpected argument \"extra\""), std::string::npos);
    EXPECT_NE(Failure({"render", "a", "b", "--bogus", "1"}).find("unknown option --bogus"), std::string::npos);
    EXPECT_NE(Failure({"render", "a", "b", "--bogus"}).find("unknown option --bogus"), std::string::npos);
    EXPECT_NE(Failure({"params", "--preset", "3"}).find("unknown option --preset"), std::string::npos);
    EXPECT_NE(Failure({"demo", "--set", "a=1"}).find("unknown option --set"), std::string::npos);
    EXPECT_NE(Failure({"render", "a", "b", "--block"}).find("--block needs a value"), std::string::npos);
    EXPECT_NE(Failure({"render", "a", "b", "--double=yes"}).find("takes no value"), std::string::npos);
    for (std::string_view block : {"0", "-1", "65537", "12x", "", "99999999999"}) {
        EXPECT_NE(Failure({"render", "a", "b", "--block", block}).find("--block needs"), std::string::npos) << block;
    }
    for (std::string_view rate : {"7999", "384001", "nan", "inf", "1e400", "48k"}) {
        EXPECT_NE(Failure({"render", "a", "b", "--rate", rate}).find("--rate needs"), std::string::npos) << rate;
    }
    for (std::string_view setting : {"Split Freq", "=800", "Split Freq=", "  =  "}) {
        EXPECT_NE(Failure({"render", "a", "b", "--set", setting}).find("NAME=VALUE"), std::string::npos) << setting;
    }
    EXPECT_NE(Failure({"render", "a", "b", "--preset", " "}).find("--preset needs"), std::string::npos);
}

TEST(CommandLineParsing, SnapshotKeepsItsEventsInOrder)
{
    const CommandLine line =
        Parse({"snapshot", "--preset", "73", "--hover", "1,2", "out.png", "--press=3, 4", "--right-press", "5,6",
               "--drag", "7,8,-9,10", "--wheel", "9,10,-3", "--set", "LFO1 Wave=Sine"});
    EXPECT_EQ(line.command, Command::Snapshot);
    EXPECT_EQ(line.output, std::filesystem::path("out.png"));
    EXPECT_EQ(line.preset, "73");
    ASSERT_EQ(line.settings.size(), 1u);
    using Kind = EditorEvent::Kind;
    ASSERT_EQ(line.events.size(), 5u);
    const Kind kinds[] = {Kind::Hover, Kind::Press, Kind::RightPress, Kind::Drag, Kind::Wheel};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(line.events[i].kind, kinds[i]) << i;
        EXPECT_EQ(line.events[i].x, int(2 * i + 1)) << i;
        EXPECT_EQ(line.events[i].y, int(2 * i + 2)) << i;
    }
    EXPECT_EQ(line.events[3].dx, -9);
    EXPECT_EQ(line.events[3].dy, 10);
    EXPECT_EQ(line.events[4].notches, -3);
}

TEST(CommandLineParsing, SnapshotRefusesMalformedEvents)
{
    EXPECT_NE(Failure({"snapshot"}).find("one output file"), std::string::npos);
    EXPECT_NE(Failure({"snapshot", "a.png", "b.png"}).find("one output file"), std::string::npos);
    EXPECT_NE(Failure({"render", "a", "b", "--press", "1,2"}).find("unknown option --press"), std::string::npos);
    EXPECT_NE(Failure({"snapshot", "a.png", "--rate", "8000"}).find("unknown option --rate"), std::string::npos);
    for (std::string_view point :
         {"", "1", "1,", ",1", "1,2,3", "a,b", "1.5,2", "1;2", "100001,0", "0,-100001", "99999999999,1", "1,,2"}) {
        EXPECT_NE(Failure({"snapshot", "a.png", "--press", point}).find("--press needs X,Y"), std::string::npos)
            << point;
    }
    EXPECT_NE(Failure({"snapshot", "a.png", "--drag", "1,2,3"}).find("--drag needs X,Y,DX,DY"), std::string::npos);
    EXPECT_NE(Failure({"snapshot", "a.png", "--wheel", "1,2"}).find("--wheel needs X,Y,N"), std::string::npos);
    for (std::string_view notches : {"1,2,0", "1,2,1001", "1,2,-1001"}) {
        EXPECT_NE(Failure({"snapshot", "a.png", "--wheel", notches}).find("notches"), std::string::npos) << notches;
    }
}

}  // namespace
}  // namespace vibrascend::host::test
