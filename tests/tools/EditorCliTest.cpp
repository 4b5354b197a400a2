// vibrascend-render editor run as a user runs it: the editor in a window of its own, saved as a
// screenshot after a while. Skips where the program finds no desktop to open the window on.
#include "ProgramRun.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace vibrascend::host::test {
namespace {

RunResult RunEditorProgram(const TempFolder& folder, const std::string& arguments)
{
    return RunRender(folder.Path(), arguments + " --plugin " + QuotedPath(VIBRASCEND_BUNDLE));
}

TEST(EditorCommandLine, ScreenshotShowsWhatTheSnapshotDrawsAtTheSameSettings)
{
    TempFolder folder;
    const RunResult shot = RunEditorProgram(folder, "editor --screenshot shown.png --after-ms 700 --preset 73");
    if (shot.exitCode != 0 && shot.err.find("cannot open a window") != std::string::npos) {
        GTEST_SKIP() << shot.err;
    }
    ASSERT_EQ(shot.exitCode, 0) << shot.err;
    EXPECT_NE(shot.out.find("saved the editor window (434 x 480)"), std::string::npos) << shot.out;
    const std::string shown = ReadFile(folder / "shown.png");
    ASSERT_FALSE(shown.empty());

    // The whole frame drawn at the same settings without a window, encoded alike.
    const RunResult drawn = RunEditorProgram(folder, "snapshot drawn.png --preset 73");
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
    EXPECT_EQ(shown, ReadFile(folder / "drawn.png")) << "the window shows exactly the editor's frame";

    const RunResult other = RunEditorProgram(folder, "editor --screenshot other.png --after-ms 700");
    ASSERT_EQ(other.exitCode, 0) << other.err;
    EXPECT_NE(ReadFile(folder / "other.png"), shown) << "other settings show another picture";
}

TEST(EditorCommandLine, RefusesAScreenshotItCannotWriteWithOneLine)
{
    TempFolder folder;
    const RunResult result = RunEditorProgram(folder, "editor --screenshot no-such-folder/shot.png --after-ms 100");
    if (result.exitCode != 0 && result.err.find("cannot open a window") != std::string::npos) {
        GTEST_SKIP() << result.err;
    }
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("no-such-folder"), std::string::npos) << result.err;
    EXPECT_EQ(folder.EntryCount(), 0u);
}

}  // namespace
}  // namespace vibrascend::host::test
