// The built plug-in's own editor, opened through its VST3 view in the command-line host's
// frame and window, played with synthesized input: the host must hear the gestures.
#include "EditorSession.h"
#include "framework/vst3/IEditorSnapshot.h"
#include "PluginInstance.h"
#include "tools/hostkit/x11/X11HostWindow.h"
#include "tools/hostkit/x11/X11InputSynthesizer.h"
#include "RunLoopFrame.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using vibrascend::host::EditEvent;

// The main row's "Low Gain" knob (parameter 2), centred at (69 + 74 x 2, 403).
constexpr int kLowGainX = 217;
constexpr int kLowGainY = 403;
constexpr unsigned kLowGain = 2;

struct BundleEditor {
    explicit BundleEditor(vibrascend::host::RunLoopFrame& frame)
        : plugin(VIBRASCEND_TEST_BUNDLE, "vibrascend tests"), host(X11HostWindow::Open("bundle editor", 434, 480))
    {
        if (host)
            session = std::make_unique<vibrascend::host::EditorSession>(plugin.EditController(), frame, host->Handle(),
                                                                        Steinberg::kPlatformTypeX11EmbedWindowID);
    }
    int Count(EditEvent::Kind kind, unsigned id) const
    {
        int n = 0;
        for (const EditEvent& e : plugin.ComponentHandler().Edits())
            n += e.kind == kind && e.id == id;
        return n;
    }

    vibrascend::host::PluginInstance plugin;
    std::unique_ptr<X11HostWindow> host;
    std::unique_ptr<vibrascend::host::EditorSession> session;
};

class BundleEditorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        input = X11InputSynthesizer::Open();
        if (!input)
            GTEST_SKIP() << "no X display with the XTest extension";
        editor = std::make_unique<BundleEditor>(frame);
        ASSERT_TRUE(editor->session);
        frame.RunFor(200);
    }

    vibrascend::host::RunLoopFrame frame;
    std::unique_ptr<X11InputSynthesizer> input;
    std::unique_ptr<BundleEditor> editor;
};

TEST_F(BundleEditorWindow, DraggingAKnobUpIsOneGestureRaisingItsValue)
{
    const double before = editor->plugin.NormalizedValue(kLowGain);
    input->MoveTo(editor->host->Id(), kLowGainX, kLowGainY);
    input->Press(1);
    for (int step = 1; step <= 4; ++step)
        input->MoveTo(editor->host->Id(), kLowGainX, kLowGainY - 5 * step);
    input->Release(1);
    frame.RunFor(150);
    const auto& edits = editor->plugin.ComponentHandler().Edits();
    ASSERT_GE(edits.size(), 3u);
    EXPECT_EQ(edits.front().kind, EditEvent::Kind::Begin);
    EXPECT_EQ(edits.front().id, kLowGain);
    EXPECT_EQ(edits.back().kind, EditEvent::Kind::End);
    EXPECT_EQ(edits.back().id, kLowGain);
    EXPECT_EQ(editor->Count(EditEvent::Kind::Begin, kLowGain), 1);
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

TEST_F(BundleEditorWindow, ClosingRightAfterAWheelStepEndsTheEditAtOnce)
{
    input->MoveTo(editor->host->Id(), kLowGainX, kLowGainY);
    input->Click(5);
    frame.RunFor(80);
    ASSERT_EQ(editor->Count(EditEvent::Kind::Begin, kLowGain), 1);
    ASSERT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 0);
    editor->session.reset();
    EXPECT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 1);
    EXPECT_EQ(frame.EventHandlers(), 0u);
    EXPECT_EQ(frame.Timers(), 0u);
}

TEST_F(BundleEditorWindow, TwoInstancesEditSeparatelyAndReopen)
{
    BundleEditor second(frame);
    ASSERT_TRUE(second.session);
    frame.RunFor(200);
    input->MoveTo(second.host->Id(), kLowGainX, kLowGainY);
    input->Click(4);
    frame.RunFor(700);
    EXPECT_EQ(second.Count(EditEvent::Kind::Begin, kLowGain), 1);
    EXPECT_EQ(second.Count(EditEvent::Kind::End, kLowGain), 1);
    EXPECT_TRUE(editor->plugin.ComponentHandler().Edits().empty());
    second.session.reset();
    second.host.reset();
    editor->session.reset();
    editor->session = std::make_unique<vibrascend::host::EditorSession>(
        editor->plugin.EditController(), frame, editor->host->Handle(), Steinberg::kPlatformTypeX11EmbedWindowID);
    frame.RunFor(200);
    input->MoveTo(editor->host->Id(), kLowGainX, kLowGainY);
    input->Click(4);
    frame.RunFor(700);
    EXPECT_EQ(editor->Count(EditEvent::Kind::End, kLowGain), 1);
}

}  // namespace

TEST_F(BundleEditorWindow, WindowShowsExactlyTheHeadlessSnapshot)
{
    // Change something first, so the comparison covers a redrawn knob as well as the first frame.
    input->MoveTo(editor->host->Id(), kLowGainX, kLowGainY);
    input->Press(1);
    input->MoveTo(editor->host->Id(), kLowGainX, kLowGainY - 12);
    input->Release(1);
    input->MoveTo(editor->host->Id(), 5, 470);
    frame.RunFor(300);
    editor->host->Sync();
    int width = 0, height = 0;
    const std::vector<std::uint32_t> shown = editor->host->Capture(width, height);
    ASSERT_EQ(width, 434);
    ASSERT_EQ(height, 480);

    Steinberg::FUnknownPtr<Vibrascend::IEditorSnapshot> snapshot(editor->session->View());
    ASSERT_TRUE(snapshot);
    std::vector<std::uint32_t> drawn(434 * 480);
    Steinberg::int32 w = 0, h = 0;
    ASSERT_EQ(snapshot->capture(drawn.data(), static_cast<Steinberg::int32>(drawn.size()), w, h), Steinberg::kResultOk);
    int differing = 0;
    for (size_t i = 0; i < drawn.size(); ++i)
        differing += (shown[i] & 0xFFFFFF) != (drawn[i] & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
}
