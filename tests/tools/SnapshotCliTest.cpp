// vibrascend-render snapshot run as a user runs it, against the built bundle.
#include "ProgramRun.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace vibrascend::host::test {
namespace {

RunResult Snapshot(const TempFolder& folder, const std::string& arguments)
{
    return RunRender(folder.Path(), "snapshot " + arguments + " --plugin " + QuotedPath(VIBRASCEND_BUNDLE));
}

// Width and height from the PNG signature and IHDR chunk; 0 x 0 when the file is not a PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0) {
        return {0, 0};
    }
    const auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    return {word(16), word(20)};
}

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(SnapshotCommandLine, DrawsTheEditorAtTheSettingsAndAfterTheEventsGiven)
{
    TempFolder folder;
    const RunResult plain = Snapshot(folder, "default.png");
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.out.find("(434 x 480)"), std::string::npos) << plain.out;
    const std::string defaults = ReadFile(folder / "default.png");
    EXPECT_EQ(PngSize(defaults), std::make_pair(434u, 480u));

    EXPECT_EQ(Snapshot(folder, "again.png").exitCode, 0);
    EXPECT_EQ(ReadFile(folder / "again.png"), defaults) << "the same settings draw the same picture";

    const RunResult preset = Snapshot(folder, "preset.png --preset 73 --set 'LFO2 Wave=Triangle'");
    ASSERT_EQ(preset.exitCode, 0) << preset.err;
    EXPECT_NE(preset.out.find("preset 73"), std::string::npos) << preset.out;
    EXPECT_NE(ReadFile(folder / "preset.png"), defaults);

    const RunResult open = Snapshot(folder, "open.png --hover 48,174 --press 100,116");
    ASSERT_EQ(open.exitCode, 0) << open.err;
    EXPECT_NE(open.out.find("after 2 mouse event(s)"), std::string::npos) << open.out;
    EXPECT_NE(ReadFile(folder / "open.png"), defaults);

    // Events run in order: a second press on the open list chooses an item and closes it.
    for (const char* events : {"--drag 217,403,0,-40 --wheel 69,403,3", "--right-press 114,174 --press 5,5"}) {
        const RunResult moved = Snapshot(folder, std::string("moved.png ") + events);
        ASSERT_EQ(moved.exitCode, 0) << events << ": " << moved.err;
        EXPECT_EQ(PngSize(ReadFile(folder / "moved.png")), std::make_pair(434u, 480u)) << events;
    }
}

TEST(SnapshotCommandLine, RefusesBadInputWithOneLineAndNoFile)
{
    TempFolder folder;
    const std::pair<std::string, std::string> cases[] = {
        {"out.png --press 434,0", "outside the editor"},      {"out.png --hover -1,10", "outside the editor"},
        {"out.png --drag 10,480,1,1", "outside the editor"},  {"out.png --wheel 10,10,0", "notches"},
        {"out.png --press 10", "--press needs X,Y"},          {"out.png --right-press x,y", "--right-press needs X,Y"},
        {"out.png --preset 500", "numbered 0 to 149"},        {"out.png --set 'Nope=1'", "unknown parameter \"Nope\""},
        {"out.png --block 64", "unknown option --block"},     {"", "one output file"},
        {"no-such-folder/out.png", "no-such-folder/out.png"},
    };
    for (const auto& [arguments, reason] : cases) {
        const RunResult result = Snapshot(folder, arguments);
        EXPECT_NE(result.exitCode, 0) << arguments;
        EXPECT_NE(result.err.find(reason), std::string::npos) << arguments << ": " << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << arguments << ": " << result.err;
        EXPECT_EQ(folder.EntryCount(), 0u) << arguments;
    }
}

}  // namespace
}  // namespace vibrascend::host::test
