// The editor window in a host window: what it shows, and the edits the host hears when a user
// clicks, drags, scrolls and types in it.
#include "WindowFixture.h"

#include "framework/vst3/IFxVST3RunLoop.h"
#include "graphics/PIX_SysBitmap.h"
#include "platform/linux/EmbedTarget.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

int CentreX(const IBox& r) { return (r.L + r.R) / 2; }
int CentreY(const IBox& r) { return (r.T + r.B) / 2; }

// Pixels of the host window that differ from the editor's back buffer.
int Differences(X11HostWindow& host, const PIX_SysBitmap& buffer)
{
    int width = 0, height = 0;
    const std::vector<std::uint32_t> shown = host.Capture(width, height);
    if (width != buffer.GetWidth() || height != buffer.GetHeight())
        return -1;
    int different = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((shown[static_cast<size_t>(y * width + x)] & 0xFFFFFF) !=
                (buffer.GetBits()[static_cast<size_t>(y) * buffer.GetRowSpan() + x] & 0xFFFFFF))
                ++different;
    return different;
}

}  // namespace

TEST_F(EditorWindow, ShowsTheBackBufferAndRegistersWithTheHostLoop)
{
    EXPECT_EQ(frame.EventHandlers(), 1u);
    EXPECT_EQ(frame.Timers(), 1u);
    EXPECT_EQ(Differences(*editor->host, *editor->plug->Editor()->BackBuffer()), 0);
}

TEST_F(EditorWindow, DragOnSliderIsOneGestureWithTheDraggedValue)
{
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider));
    input->Press(1);
    Run(60);
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider) - 10);
    MoveTo(CentreX(kGainSlider) + 50, CentreY(kGainSlider) - 30);  // outside: still captured
    input->Release(1);
    Run(100);
    EXPECT_EQ(editor->Edits(), "B0 P0=0.6 P0=0.8 E0");
    EXPECT_NEAR(editor->plug->GetParam(0)->Value(), 7.2, 1e-9);
    // The next frames show the new value.
    Run(100);
    EXPECT_EQ(Differences(*editor->host, *editor->plug->Editor()->BackBuffer()), 0);
}

TEST_F(EditorWindow, WheelNotchesEndTheirEditHalfASecondLater)
{
    MoveTo(CentreX(kLevelSlider), CentreY(kLevelSlider));
    input->Click(4);
    input->Click(4);
    input->Click(5);
    Run(200);
    const std::string during = editor->Edits();
    EXPECT_EQ(during.find('E'), std::string::npos) << during;
    EXPECT_EQ(during.substr(0, 3), "B2 ");
    Run(600);
    const std::string after = editor->Edits();
    EXPECT_EQ(after.substr(after.size() - 3), " E2");
    EXPECT_EQ(after.find('E'), after.size() - 2) << "one end for the burst: " << after;
}

TEST_F(EditorWindow, ClosingDuringTheWheelCountdownSendsTheEndAtOnce)
{
    MoveTo(CentreX(kLevelSlider), CentreY(kLevelSlider));
    input->Click(4);
    Run(80);
    ASSERT_EQ(editor->Edits().find('E'), std::string::npos);
    editor->Close();
    const std::string edits = editor->Edits();
    EXPECT_EQ(edits.substr(edits.size() - 3), " E2");
    EXPECT_EQ(frame.EventHandlers(), 0u);
    EXPECT_EQ(frame.Timers(), 0u);
}

TEST_F(EditorWindow, DoubleClickRestoresTheDefault)
{
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider));
    input->Press(1);
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider) - 20);
    input->Release(1);
    Run(60);
    ASSERT_NEAR(editor->plug->GetParam(0)->Value(), 4.8, 1e-9);
    // Two presses far apart in place are two single presses, not a double click.
    Click(CentreX(kGainSlider), CentreY(kGainSlider) - 20, 1);
    Click(CentreX(kGainSlider) + 20, CentreY(kGainSlider), 1);
    Run(60);
    ASSERT_NEAR(editor->plug->GetParam(0)->Value(), 4.8, 1e-9);
    Click(CentreX(kGainSlider) + 21, CentreY(kGainSlider) + 1, 1);
    Run(100);
    EXPECT_NEAR(editor->plug->GetParam(0)->Value(), 0.0, 1e-9);
}

TEST_F(EditorWindow, KeysReachTheControlUnderThePointerWithTheirCodes)
{
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider));
    input->Click(1);  // takes the keyboard focus
    Run(60);
    for (const char* key : {"space", "Up", "Down", "Left", "Right", "0", "9", "a", "z", "F1", "Return"})
        input->KeyNamed(key);
    input->Key('q', true);  // Shift+q is still the letter q
    Run(100);
    auto* slider = static_cast<TestSlider*>(editor->plug->Editor()->GetControl(1));
    EXPECT_EQ(slider->keys, "0 1 2 3 4 6 15 16 41 32 ");
}

TEST_F(EditorWindow, TypedValueCommitsWithEnterOnTheNextTick)
{
    Click(CentreX(kLevelSlider), CentreY(kLevelSlider), 3);
    Run(100);
    IGraphicsLinux* g = editor->plug->Editor();
    ASSERT_NE(g->TextBox(), nullptr);
    EXPECT_EQ(g->TextBox()->GetKind(), ValueEntryBox::Kind::Text);
    // Centred on the slider, seven pixels per character of "100.0" plus six, 16 high.
    EXPECT_EQ(g->TextBox()->Area(), (IBox{340 - 20, 372, 340 + 21, 388}));
    EXPECT_EQ(g->TextBox()->Text(), "50.0");
    input->Type("25");  // replaces the selected text
    input->KeyNamed("Return");
    Run(150);
    EXPECT_EQ(g->TextBox(), nullptr);
    EXPECT_NEAR(editor->plug->GetParam(2)->Value(), 25.0, 1e-9);
    const std::string edits = editor->Edits();
    EXPECT_NE(edits.find("B2 P2=0.25 E2"), std::string::npos) << edits;
}

TEST_F(EditorWindow, RightClickCancelsTypingAndReachesNoControl)
{
    Click(CentreX(kLevelSlider), CentreY(kLevelSlider), 3);
    Run(100);
    IGraphicsLinux* g = editor->plug->Editor();
    ASSERT_NE(g->TextBox(), nullptr);
    input->Type("7");
    Click(CentreX(kGainSlider), CentreY(kGainSlider), 3);
    Run(150);
    EXPECT_EQ(g->TextBox(), nullptr);
    EXPECT_NEAR(editor->plug->GetParam(2)->Value(), 50.0, 1e-9);
    // No gesture on the gain slider; closing the entry pushes the unchanged level once more.
    EXPECT_EQ(editor->Edits().find("B0"), std::string::npos) << editor->Edits();
    EXPECT_EQ(editor->Edits().find("P2=0.07"), std::string::npos) << editor->Edits();
}

TEST_F(EditorWindow, EscapeClosesTypingAndTheListWithoutAChange)
{
    IGraphicsLinux* g = editor->plug->Editor();
    Click(CentreX(kLevelSlider), CentreY(kLevelSlider), 3);
    Run(100);
    ASSERT_NE(g->TextBox(), nullptr);
    input->Type("7");
    input->KeyNamed("Escape");
    Run(150);
    EXPECT_EQ(g->TextBox(), nullptr);
    EXPECT_NEAR(editor->plug->GetParam(2)->Value(), 50.0, 1e-9);

    Click(CentreX(kTargetSlider), CentreY(kTargetSlider), 3);
    Run(100);
    Click(CentreX(kTargetSlider), 125, 1);  // drop the list
    Run(60);
    ASSERT_TRUE(g->TextBox() && g->TextBox()->Dropped());
    input->KeyNamed("Escape");
    Run(150);
    EXPECT_EQ(g->TextBox(), nullptr);
    EXPECT_EQ(editor->plug->GetParam(1)->Value(), 1.0);
    const std::string edits = editor->Edits();
    EXPECT_EQ(edits.find("P2=0.07"), std::string::npos) << edits;
    EXPECT_EQ(edits.find("P1=0.333"), edits.rfind("P1=0.333")) << edits;  // only the close's push
}

TEST_F(EditorWindow, LeftClickInTheEditorCommitsWhatWasTyped)
{
    Click(CentreX(kLevelSlider), CentreY(kLevelSlider), 3);
    Run(100);
    input->Type("80");
    Click(10, 10, 1);
    Run(150);
    EXPECT_EQ(editor->plug->Editor()->TextBox(), nullptr);
    EXPECT_NEAR(editor->plug->GetParam(2)->Value(), 80.0, 1e-9);
}

TEST_F(EditorWindow, ListOpensOnTheCurrentChoiceAndCommitsANewOne)
{
    Click(CentreX(kTargetSlider), CentreY(kTargetSlider), 3);
    Run(100);
    IGraphicsLinux* g = editor->plug->Editor();
    ASSERT_NE(g->TextBox(), nullptr);
    ASSERT_EQ(g->TextBox()->GetKind(), ValueEntryBox::Kind::List);
    EXPECT_EQ(g->TextBox()->Selected(), 1);
    // 24 + 8 x "No Assign"/"High Gain" (9 characters) wide, from the centre down.
    EXPECT_EQ(g->TextBox()->Area(), (IBox{240 - 48, 120, 240 + 48, 120 + ValueEntryBox::kFieldHeight}));
    // Open the list and pick its last entry.
    Click(CentreX(kTargetSlider), 125, 1);
    Run(60);
    ASSERT_TRUE(g->TextBox() && g->TextBox()->Dropped());
    Click(CentreX(kTargetSlider), 120 + ValueEntryBox::kFieldHeight + 1 + 3 * ValueEntryBox::kRowHeight + 5, 1);
    Run(150);
    EXPECT_EQ(g->TextBox(), nullptr);
    EXPECT_EQ(editor->plug->GetParam(1)->Value(), 3.0);
}

TEST_F(EditorWindow, ClosesAndReopensOnTheSameDrawing)
{
    editor->Close();
    EXPECT_EQ(editor->plug->Editor()->GetWindow(), nullptr);
    EXPECT_EQ(frame.EventHandlers(), 0u);
    editor->Reopen(frame);
    Run(150);
    EXPECT_NE(editor->plug->Editor()->GetWindow(), nullptr);
    EXPECT_EQ(frame.EventHandlers(), 1u);
    EXPECT_EQ(frame.Timers(), 1u);
    EXPECT_EQ(Differences(*editor->host, *editor->plug->Editor()->BackBuffer()), 0);
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider));
    input->Press(1);
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider) + 10);
    input->Release(1);
    Run(60);
    EXPECT_EQ(editor->Edits(), "B0 P0=0.4 E0");
}

TEST_F(EditorWindow, AViewReleasedWithoutBeingRemovedClosesItsWindow)
{
    editor->Close();
    Steinberg::IPlugView* view = editor->plug->createView("editor");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->setFrame(&frame), Steinberg::kResultOk);
    ASSERT_EQ(view->attached(reinterpret_cast<void*>(static_cast<std::uintptr_t>(editor->host->Id())),
                             Steinberg::kPlatformTypeX11EmbedWindowID),
              Steinberg::kResultOk);
    Run(60);
    ASSERT_NE(editor->plug->Editor()->GetWindow(), nullptr);
    EXPECT_EQ(frame.EventHandlers(), 1u);
    view->release();
    EXPECT_EQ(editor->plug->Editor()->GetWindow(), nullptr);
    EXPECT_EQ(frame.EventHandlers(), 0u);
    EXPECT_EQ(frame.Timers(), 0u);
    // The editor opens again in a new view afterwards.
    editor->Reopen(frame);
    Run(60);
    EXPECT_NE(editor->plug->Editor()->GetWindow(), nullptr);
}

TEST_F(EditorWindow, TwoEditorsOfTwoInstancesWorkSideBySide)
{
    OpenEditor second(frame);
    ASSERT_NE(second.plug->Editor()->GetWindow(), nullptr);
    Run(150);
    EXPECT_EQ(frame.EventHandlers(), 2u);
    input->MoveTo(second.host->Id(), CentreX(kGainSlider), CentreY(kGainSlider));
    input->Press(1);
    input->MoveTo(second.host->Id(), CentreX(kGainSlider), CentreY(kGainSlider) - 10);
    input->Release(1);
    Run(60);
    EXPECT_EQ(second.Edits(), "B0 P0=0.6 E0");
    EXPECT_EQ(editor->Edits(), "");
    second.Close();
    second.host.reset();
    EXPECT_EQ(frame.EventHandlers(), 1u);
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider));
    input->Press(1);
    MoveTo(CentreX(kGainSlider), CentreY(kGainSlider) - 10);
    input->Release(1);
    Run(60);
    EXPECT_EQ(editor->Edits(), "B0 P0=0.6 E0");
}

TEST_F(EditorWindow, AWidenedHostFrameShowsTheEditorsEdgeCarriedOnBeyondIt)
{
    const PIX_SysBitmap& buffer = *editor->plug->Editor()->BackBuffer();
    const auto shade = [&](int x, int y) {
        return buffer.GetBits()[static_cast<size_t>(std::min(y, 479)) * buffer.GetRowSpan() + std::min(x, 433)] &
               0xFFFFFF;
    };
    // The edge colours must differ from the host's black, or an unpainted area would pass.
    ASSERT_NE(shade(433, 0), 0u);
    ASSERT_NE(shade(0, 479), 0u);
    // A host that widens its frame and fits the editor's window to it.
    editor->host->Resize(600, 530);
    Steinberg::ViewRect wider(0, 0, 600, 530);
    EXPECT_EQ(editor->session->View()->onSize(&wider), Steinberg::kResultOk);
    editor->host->FitChildren();
    Run(150);
    int width = 0, height = 0;
    const std::vector<std::uint32_t> shown = editor->host->Capture(width, height);
    ASSERT_EQ(width, 600);
    ASSERT_EQ(height, 530);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((shown[static_cast<size_t>(y * width + x)] & 0xFFFFFF) != shade(x, y) && (x >= 434 || y >= 480))
                ++wrong;
    EXPECT_EQ(wrong, 0);
    // The editor keeps its size, and a redraw on its edge (a drag on the background slider
    // changes its colour) is carried on again.
    EXPECT_EQ(editor->plug->Editor()->Width(), 434);
    const std::uint32_t before = shade(433, 10);
    MoveTo(420, 20);
    input->Press(1);
    MoveTo(420, 0);
    input->Release(1);
    Run(150);
    ASSERT_NE(shade(433, 10), before);
    const std::vector<std::uint32_t> after = editor->host->Capture(width, height);
    ASSERT_EQ(after.size(), shown.size());
    EXPECT_EQ(after[static_cast<size_t>(10 * width + 590)] & 0xFFFFFF, shade(433, 10));
    EXPECT_EQ(after[static_cast<size_t>(520 * width + 200)] & 0xFFFFFF, shade(200, 479));
}

TEST_F(EditorWindow, HostWindowDestroyedUnderTheEditorClosesItCleanly)
{
    editor->host.reset();
    Run(150);
    EXPECT_EQ(editor->plug->Editor()->GetWindow(), nullptr);
    EXPECT_EQ(frame.EventHandlers(), 0u);
    editor->Close();  // the host's removed() afterwards is harmless
}

TEST(EditorWindowOpening, RefusesMissingParentsAndRunLoops)
{
    vibrascend::host::RunLoopFrame frame;
    WindowPlugin* plug = new WindowPlugin;
    IGraphicsLinux* g = plug->Editor();
    EXPECT_EQ(g->OpenWindow(nullptr), nullptr);
    EmbedTarget noLoop{12345, nullptr};
    EXPECT_EQ(g->OpenWindow(&noLoop), nullptr);
    EmbedTarget noParent{0, nullptr};
    EXPECT_EQ(g->OpenWindow(&noParent), nullptr);
    // A window id nobody created (or no display at all) opens nothing and registers nothing.
    IFxVST3RunLoop loop{Steinberg::IPtr<Steinberg::Linux::IRunLoop>(&frame)};
    EmbedTarget missing{0x7FFFFFF0, &loop};
    EXPECT_EQ(g->OpenWindow(&missing), nullptr);
    EXPECT_EQ(frame.EventHandlers(), 0u);
    EXPECT_EQ(frame.Timers(), 0u);
    plug->release();
}

TEST(EditorWindowTimer, PeriodFollowsTheFrameRate)
{
    WindowPlugin* atDefault = new WindowPlugin(0);
    WindowPlugin* at30 = new WindowPlugin(30);
    EXPECT_EQ(atDefault->Editor()->TimerPeriodMs(), 41);
    EXPECT_EQ(at30->Editor()->TimerPeriodMs(), 33);
    atDefault->release();
    at30->release();
}
