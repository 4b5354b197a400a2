// The built plug-in's editor as a Windows DAW opens it: through the DLL's exported entry points,
// a view attached to a top-level host HWND, played with synthesized input. The host must hear
// every gesture, and opening and closing must leave no window or GDI object behind.
#include "EditorHost.h"
#include "EditorSession.h"
#include "PluginInstance.h"
#include "tools/hostkit/win32/Win32InputSynthesizer.h"
#include "tools/hostkit/win32/Win32ObjectCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using vibrascend::host::EditEvent;
using vibrascend::host::EditorHost;
using vibrascend::host::EditorSession;
using Button = Win32InputSynthesizer::Button;

// The main row's "Low Gain" knob (parameter 2), centred at (69 + 74 x 2, 403).
constexpr int kLowGainX = 217;
constexpr int kLowGainY = 403;
constexpr unsigned kLowGain = 2;
constexpr unsigned kVirtualKeyEnter = 0x0D;

struct Editor {
    explicit Editor(int left = 0)
        : plugin(VIBRASCEND_TEST_BUNDLE, "vibrascend tests"), host(EditorHost::Open("editor", 434, 480, left, 0))
    {
        if (host)
            Open();
    }
    void Open()
    {
        session = std::make_unique<EditorSession>(plugin.EditController(), host->Frame(), host->ParentWindow(),
                                                  host->PlatformType());
    }
    int Count(EditEvent::Kind kind, unsigned id) const
    {
        int n = 0;
        for (const EditEvent& e : plugin.ComponentHandler().Edits())
            n += e.kind == kind && e.id == id;
        return n;
    }
    double LastPerformed(unsigned id) const
    {
        double value = -1.0;
        for (const EditEvent& e : plugin.ComponentHandler().Edits())
            if (e.kind == EditEvent::Kind::Perform && e.id == id)
                value = e.value;
        return value;
    }

    vibrascend::host::PluginInstance plugin;
    std::unique_ptr<EditorHost> host;
    std::unique_ptr<EditorSession> session;
};

class Win32Editor : public ::testing::Test {
protected:
    void SetUp() override
    {
        input = Win32InputSynthesizer::Open();
        if (!input)
            GTEST_SKIP() << "no desktop to send input to";
        editor = std::make_unique<Editor>();
        ASSERT_TRUE(editor->host);
        ASSERT_TRUE(editor->session);
        Run(300);
    }
    void Run(int ms) { editor->host->RunFor(ms); }
    void MoveTo(int x, int y) { input->MoveTo(editor->host->ParentWindow(), x, y); }
    // The objects the plug-in's own code made and has not destroyed.
    std::unique_ptr<platform::Win32ObjectCounter> CountPlugin() const
    {
        return std::make_unique<platform::Win32ObjectCounter>(editor->plugin.ModuleHandle());
    }

    std::unique_ptr<Win32InputSynthesizer> input;
    std::unique_ptr<Editor> editor;
};

TEST_F(Win32Editor, DraggingAKnobUpIsOneGestureRaisingItsValue)
{
    const double before = editor->plugin.NormalizedValue(kLowGain);
    MoveTo(kLowGainX, kLowGainY);
    Run(50);
    input->Press(Button::Left);
    Run(50);
    for (int step = 1; step <= 4; ++step) {
        MoveTo(kLowGainX, kLowGainY - 5 * step);
        Run(30);
    }
    input->Release(Button::Left);
    Run(150);
    const auto& edits = editor->plugin.ComponentHandler().Edits();
    ASSERT_GE(edits.size(), 3u);
    EXPECT_EQ(edits.front().kind, EditEvent::Kind::Begin);
    EXPECT_EQ(edits.front().id, kLowGain);
    EXPECT_EQ(edits.back().kind, EditEvent::Kind::End);
    EXPECT_EQ(edits.back().id, kLowGain);
    EXPECT_EQ(editor->Count(EditEvent::Kind::Begin, kLowGain), 1);
    EXPECT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 1);
    double last = before;
    for (const EditEvent& e : edits) {
        if (e.kind != EditEvent::Kind::Perform)
            continue;
        EXPECT_EQ(e.id, kLowGain);
        EXPECT_GE(e.value, last);
        last = e.value;
    }
    EXPECT_GT(editor->plugin.NormalizedValue(kLowGain), before);
}

TEST_F(Win32Editor, AWheelStepEndsItsEditAboutHalfASecondLater)
{
    const double before = editor->plugin.NormalizedValue(kLowGain);
    MoveTo(kLowGainX, kLowGainY);
    Run(50);
    input->Wheel(120);
    Run(100);
    EXPECT_EQ(editor->Count(EditEvent::Kind::Begin, kLowGain), 1);
    EXPECT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 0) << "the end waits for the countdown";
    Run(800);
    EXPECT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 1);
    EXPECT_GT(editor->plugin.NormalizedValue(kLowGain), before);
}

TEST_F(Win32Editor, ClosingDuringTheWheelCountdownEndsTheEditAtOnce)
{
    MoveTo(kLowGainX, kLowGainY);
    Run(50);
    input->Wheel(-120);
    Run(100);
    ASSERT_EQ(editor->Count(EditEvent::Kind::Begin, kLowGain), 1);
    ASSERT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 0);
    editor->session.reset();
    EXPECT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 1);
}

TEST_F(Win32Editor, DoubleClickReturnsAKnobToItsDefault)
{
    const double start = editor->plugin.NormalizedValue(kLowGain);
    MoveTo(kLowGainX, kLowGainY);
    Run(50);
    input->Wheel(3 * 120);
    Run(900);
    ASSERT_NE(editor->plugin.NormalizedValue(kLowGain), start);
    input->DoubleClick(Button::Left);
    Run(200);
    EXPECT_NEAR(editor->plugin.NormalizedValue(kLowGain), start, 1e-9);
    EXPECT_EQ(editor->Count(EditEvent::Kind::Begin, kLowGain), editor->Count(EditEvent::Kind::End, kLowGain));
}

TEST_F(Win32Editor, RightClickOpensTheValueBoxAndEnterCommitsTheTypedValue)
{
    std::unique_ptr<platform::Win32ObjectCounter> counter = CountPlugin();
    ASSERT_GT(counter->RedirectedImports(), 0);
    MoveTo(kLowGainX, kLowGainY);
    Run(50);
    input->Click(Button::Right);
    Run(200);
    ASSERT_EQ(counter->LiveWindows(), 1) << "the EDIT box is open";
    input->Type("3");
    input->Key(kVirtualKeyEnter);
    Run(300);
    EXPECT_EQ(counter->LiveWindows(), 0) << "the box closes on the next tick";
    EXPECT_NEAR(editor->plugin.PlainValue(kLowGain, editor->plugin.NormalizedValue(kLowGain)), 3.0, 1e-6);
    EXPECT_NEAR(editor->LastPerformed(kLowGain), editor->plugin.NormalizedValue(kLowGain), 1e-12);
    EXPECT_GE(editor->Count(EditEvent::Kind::Begin, kLowGain), 1);
    EXPECT_EQ(editor->Count(EditEvent::Kind::Begin, kLowGain), editor->Count(EditEvent::Kind::End, kLowGain));
}

TEST_F(Win32Editor, ARightClickWhileTypingCancelsAndReachesNoControl)
{
    const double before = editor->plugin.NormalizedValue(kLowGain);
    std::unique_ptr<platform::Win32ObjectCounter> counter = CountPlugin();
    MoveTo(kLowGainX, kLowGainY);
    Run(50);
    input->Click(Button::Right);
    Run(200);
    ASSERT_EQ(counter->LiveWindows(), 1);
    input->Type("9");
    Run(100);
    MoveTo(kLowGainX, kLowGainY - 60);
    input->Click(Button::Right);
    Run(300);
    EXPECT_EQ(counter->LiveWindows(), 0) << "cancelled on the next tick";
    EXPECT_EQ(editor->plugin.NormalizedValue(kLowGain), before);
    if (editor->LastPerformed(kLowGain) >= 0.0)
        EXPECT_EQ(editor->LastPerformed(kLowGain), before) << "only the unchanged value is sent again";
}

TEST_F(Win32Editor, ReopensAndTwoEditorsEditSeparately)
{
    editor->session.reset();
    Run(100);
    editor->Open();
    Run(300);
    Editor second(500);
    ASSERT_TRUE(second.session);
    second.host->RunFor(300);
    input->MoveTo(second.host->ParentWindow(), kLowGainX, kLowGainY);
    second.host->RunFor(50);
    input->Wheel(120);
    second.host->RunFor(900);
    EXPECT_EQ(second.Count(EditEvent::Kind::Begin, kLowGain), 1);
    EXPECT_EQ(second.Count(EditEvent::Kind::End, kLowGain), 1);
    EXPECT_TRUE(editor->plugin.ComponentHandler().Edits().empty());
    second.session.reset();

    MoveTo(kLowGainX, kLowGainY);
    Run(50);
    input->Wheel(120);
    Run(900);
    EXPECT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 1) << "the reopened editor still edits";
}

TEST_F(Win32Editor, AThousandOpenCloseCyclesLeaveNoWindowOrGdiObjectBehind)
{
    editor->session.reset();
    Run(50);
    const long gdiBefore = platform::Win32ObjectCounter::ProcessGdiObjects();
    const long userBefore = platform::Win32ObjectCounter::ProcessUserObjects();
    std::unique_ptr<platform::Win32ObjectCounter> counter = CountPlugin();
    ASSERT_GT(counter->RedirectedImports(), 0);
    for (int cycle = 0; cycle < 1000; ++cycle) {
        editor->Open();
        editor->host->RunFor(cycle % 100 == 0 ? 60 : 0);
        editor->session.reset();
    }
    Run(50);
    EXPECT_GE(counter->MadeWindows(), 1000);
    EXPECT_EQ(counter->LiveWindows(), 0);
    EXPECT_EQ(counter->LiveGdiObjects(), 0);
    EXPECT_EQ(platform::Win32ObjectCounter::ProcessGdiObjects(), gdiBefore);
    EXPECT_EQ(platform::Win32ObjectCounter::ProcessUserObjects(), userBefore);
}

TEST_F(Win32Editor, WindowShowsTheEditorItDrew)
{
    int width = 0, height = 0;
    const std::vector<std::uint32_t> shown = editor->host->Capture(width, height);
    ASSERT_EQ(width, 434);
    ASSERT_EQ(height, 480);
    int black = 0;
    for (std::uint32_t p : shown)
        black += (p & 0xFFFFFF) == 0;
    EXPECT_LT(black, static_cast<int>(shown.size()) / 2) << "the editor's background covers the host's";
}

}  // namespace
