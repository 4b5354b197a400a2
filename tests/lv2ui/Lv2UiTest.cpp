// The built LV2 bundle's UI, loaded as an LV2 host loads it (dlopen, lv2ui_descriptor) and run in
// a host window on the X server: it embeds at its size, draws what the VST3 editor draws, follows
// the host's port values and writes the user's edits to the host's ports.
#include "GoldenImage.h"
#include "Lv2UiHost.h"
#include "ParameterChanges.h"
#include "PluginInstance.h"
#include "Selection.h"
#include "framework/vst3/IEditorSnapshot.h"
#include "tools/hostkit/x11/X11HostWindow.h"
#include "tools/hostkit/x11/X11InputSynthesizer.h"

#include "pluginterfaces/gui/iplugview.h"

// Google Test first: the X11 headers define names (None, Bool) that its headers use.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using lv2ui_test::HostCall;
using lv2ui_test::Lv2UiModule;
using lv2ui_test::Lv2UiSession;
using lv2ui_test::UiFeatures;

constexpr int kWidth = 434;
constexpr int kHeight = 480;
constexpr std::uint32_t kFirstParamPort = 4;
constexpr std::uint32_t kEnabledPort = 17;
// "LFO1 Depth" (parameter 8, 0..100 %): its knob is centred at (180, 174).
constexpr std::uint32_t kLfo1DepthPort = kFirstParamPort + 8;
constexpr int kDepthX = 180;
constexpr int kDepthY = 174;
// A spot over no control, for the pointer to rest on.
constexpr int kRestX = 5;
constexpr int kRestY = 470;
// The control ports' defaults, as a host sends them when the UI opens.
constexpr std::array<float, 13> kDefaults{1000, 50, 0, 0, 0, 1, 1, 4, 30, 0, 1, 4, 30};

// An X server refuses connections for a moment while it resets after its last client left (the
// previous test's process): try for a while before taking the display as missing.
Display* OpenDisplayPatiently()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

golden::Picture WindowPixels(Display* display, unsigned long window)
{
    golden::Picture picture;
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, window, &a))
        return picture;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                              AllPlanes, ZPixmap);
    if (!image)
        return picture;
    picture.width = a.width;
    picture.height = a.height;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            picture.pixels.push_back(0xFF000000u | (static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu));
    XDestroyImage(image);
    return picture;
}

// The VST3 editor's headless frame after the host set the values: the project's snapshot path.
golden::Picture Vst3Frame(const std::vector<vibrascend::host::ParameterSetting>& settings)
{
    using namespace Steinberg;
    vibrascend::host::PluginInstance plugin(VIBRASCEND_VST3_BUNDLE, "lv2ui-test");
    const auto parameters = plugin.Parameters();
    vibrascend::host::ParameterChanges changes;
    for (const auto& setting : settings) {
        const auto choice = vibrascend::host::ChooseParameterValue(plugin, parameters, setting);
        changes.Add(choice.id, choice.normalized);
    }
    plugin.StartProcessing(vibrascend::host::ProcessingSetup{});
    std::array<float, 1> silence{};
    const std::array<float*, 2> channels{silence.data(), silence.data()};
    plugin.Process(channels, channels, 0, &changes);
    plugin.StopProcessing();
    IPtr<IPlugView> view = owned(plugin.EditController()->createView("editor"));
    FUnknownPtr<Vibrascend::IEditorSnapshot> snapshot(view);
    golden::Picture picture;
    if (!snapshot)
        return picture;
    picture.pixels.resize(static_cast<size_t>(kWidth) * kHeight);
    int32 w = 0, h = 0;
    if (snapshot->capture(picture.pixels.data(), static_cast<int32>(picture.pixels.size()), w, h) == kResultOk) {
        picture.width = w;
        picture.height = h;
    }
    return picture;
}

// Pixels that differ (alpha ignored) inside [left, right) x [top, bottom), or anywhere when the
// sizes differ.
int Differing(const golden::Picture& a, const golden::Picture& b, int left = 0, int top = 0, int right = kWidth,
              int bottom = kHeight)
{
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size())
        return std::numeric_limits<int>::max();
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, a.height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, a.width); ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(a.width) + static_cast<size_t>(x);
            count += (a.pixels[i] & 0xFFFFFFu) != (b.pixels[i] & 0xFFFFFFu);
        }
    return count;
}

class Lv2Ui : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module.Descriptor(0)) << module.Error();
        // This connection keeps the server from resetting until the test ends.
        if (!std::getenv("DISPLAY") || !(display = OpenDisplayPatiently()))
            GTEST_SKIP() << "no X display";
        input = X11InputSynthesizer::Open();
        if (!input)
            GTEST_SKIP() << "no XTest extension";
        host = X11HostWindow::Open("lv2 ui", kWidth, kHeight);
        ASSERT_TRUE(host);
        input->MoveTo(host->Id(), kRestX, kRestY);
        input->Sync();
    }
    void TearDown() override
    {
        session.reset();
        host.reset();
        if (display)
            XCloseDisplay(display);
    }

    // Opens the UI in the host window and lets it draw its first frames with the host's values.
    void Open(bool touch = true)
    {
        session = std::make_unique<Lv2UiSession>(*module.Descriptor(0), UiFeatures{host->Id(), true, touch});
        ASSERT_TRUE(session->Instantiated());
        for (std::uint32_t i = 0; i < kDefaults.size(); ++i)
            session->SendControl(kFirstParamPort + i, kDefaults[i]);
        session->SendControl(kEnabledPort, 1.0f);
        EXPECT_EQ(session->IdleFor(250), 0);
    }
    golden::Picture Shown()
    {
        XSync(display, False);
        return WindowPixels(display, session->Widget());
    }
    // Drags the knob at (x, y) up by `steps` moves of `pixels` each, the UI idling between them.
    // Halfway, `midway` (when given) is called, as the host might do something then.
    void DragUp(int x, int y, int steps, int pixels, const std::function<void()>& midway = {})
    {
        input->MoveTo(host->Id(), x, y);
        input->Sync();
        session->IdleFor(60);
        input->Press(1);
        input->Sync();
        session->IdleFor(60);
        for (int step = 1; step <= steps; ++step) {
            input->MoveTo(host->Id(), x, y - pixels * step);
            input->Sync();
            session->IdleFor(60);
            if (step == steps / 2 && midway)
                midway();
        }
        input->Release(1);
        input->MoveTo(host->Id(), kRestX, kRestY);
        input->Sync();
        session->IdleFor(150);
    }

    Lv2UiModule module{VIBRASCEND_LV2_BINARY};
    Display* display = nullptr;
    std::unique_ptr<X11InputSynthesizer> input;
    std::unique_ptr<X11HostWindow> host;
    std::unique_ptr<Lv2UiSession> session;
};

TEST_F(Lv2Ui, DescribesOneX11UiWithTheIdleAndShowInterfaces)
{
    const LV2UI_Descriptor* ui = module.Descriptor(0);
    EXPECT_STREQ(ui->URI, VIBRASCEND_PLUGIN_URL "#ui");
    EXPECT_EQ(module.Descriptor(1), nullptr);
    ASSERT_TRUE(ui->extension_data);
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    const auto* show = static_cast<const LV2UI_Show_Interface*>(ui->extension_data(LV2_UI__showInterface));
    ASSERT_TRUE(idle && show);
    EXPECT_TRUE(idle->idle && show->show && show->hide);
    EXPECT_EQ(ui->extension_data(LV2_UI__resize), nullptr);
    EXPECT_EQ(ui->extension_data(""), nullptr);
    EXPECT_EQ(ui->extension_data(nullptr), nullptr);
}

TEST_F(Lv2Ui, IsRefusedWithoutAParentAndOpensInOneAtItsFixedSize)
{
    {
        Lv2UiSession orphan(*module.Descriptor(0), UiFeatures{0, true, true});
        EXPECT_FALSE(orphan.Instantiated());
        EXPECT_EQ(orphan.Widget(), 0u);
        EXPECT_TRUE(orphan.Calls().empty());
        EXPECT_EQ(orphan.IdleFor(0), 1);
    }
    Open();
    ASSERT_NE(session->Widget(), 0u);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(display, session->Widget(), &root, &parent, &children, &count));
    if (children)
        XFree(children);
    EXPECT_EQ(parent, host->Id());
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(display, session->Widget(), &a));
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 0);
    EXPECT_EQ(a.width, kWidth);
    EXPECT_EQ(a.height, kHeight);
    EXPECT_EQ(a.map_state, IsViewable);
    const auto resizes = session->Calls(HostCall::Kind::Resize);
    ASSERT_EQ(resizes.size(), 1u);
    EXPECT_EQ(resizes[0].width, kWidth);
    EXPECT_EQ(resizes[0].height, kHeight);
}

TEST_F(Lv2Ui, ShowsTheEditorsGoldenPictureAtTheDefaults)
{
    Open();
    const golden::Picture shown = Shown();
    const auto reference = golden::ReadPng(std::string(VIBRASCEND_GOLDEN_DIR) + "/defaults.png");
    ASSERT_TRUE(reference);
    EXPECT_EQ(Differing(shown, *reference), 0);
    // What the host sends that is no control value of the effect changes nothing.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const float eighty = 80.0f;
    const double wide = 80.0;
    session->SendControl(kLfo1DepthPort, nan);
    session->SendControl(kLfo1DepthPort, infinity);
    session->SendControl(kLfo1DepthPort, -infinity);
    session->SendRaw(kLfo1DepthPort, sizeof eighty, 1, &eighty);
    session->SendRaw(kLfo1DepthPort, sizeof wide, 0, &wide);
    session->SendRaw(kLfo1DepthPort, sizeof eighty, 0, nullptr);
    for (std::uint32_t port : {0u, 3u, kEnabledPort, 18u, 1000u, 0xFFFFFFFFu})
        session->SendControl(port, 0.0f);
    EXPECT_EQ(session->IdleFor(150), 0);
    EXPECT_EQ(Differing(Shown(), *reference), 0);
    EXPECT_TRUE(session->Calls(HostCall::Kind::Write).empty());
}

TEST_F(Lv2Ui, HostValuesRedrawTheEditorAsTheVst3EditorDrawsThem)
{
    Open();
    const golden::Picture before = Shown();
    session->SendControl(kLfo1DepthPort, 80.0f);
    EXPECT_EQ(session->IdleFor(150), 0);
    const golden::Picture at80 = Shown();
    EXPECT_GT(Differing(before, at80, kDepthX - 25, kDepthY - 25, kDepthX + 25, kDepthY + 25), 0);
    EXPECT_EQ(Differing(at80, Vst3Frame({{"LFO1 Depth", "80"}})), 0);
    // Out of range is held at the end of the range, as a host edit is.
    session->SendControl(kLfo1DepthPort, 150.0f);
    EXPECT_EQ(session->IdleFor(150), 0);
    EXPECT_EQ(Differing(Shown(), Vst3Frame({{"LFO1 Depth", "100"}})), 0);
    EXPECT_TRUE(session->Calls(HostCall::Kind::Write).empty());
}

TEST_F(Lv2Ui, DraggingAKnobWritesItsPortInsideTouchesAndNeitherEchoesNorTheHostMoveIt)
{
    Open();
    session->EchoWrites(true);
    // A host that goes on sending its own value while the user holds the control is not heard.
    DragUp(kDepthX, kDepthY, 8, 4, [this] { session->SendControl(kLfo1DepthPort, 5.0f); });
    const std::vector<HostCall> calls = session->Calls();
    ASSERT_GE(calls.size(), 4u);
    ASSERT_EQ(calls.front().kind, HostCall::Kind::Resize);
    EXPECT_EQ(calls[1].kind, HostCall::Kind::Touch);
    EXPECT_EQ(calls[1].port, kLfo1DepthPort);
    EXPECT_EQ(calls[1].value, 1.0f);
    EXPECT_EQ(calls.back().kind, HostCall::Kind::Touch);
    EXPECT_EQ(calls.back().port, kLfo1DepthPort);
    EXPECT_EQ(calls.back().value, 0.0f);
    EXPECT_EQ(session->Calls(HostCall::Kind::Touch).size(), 2u);
    const auto writes = session->Calls(HostCall::Kind::Write);
    ASSERT_GE(writes.size(), 3u);
    float last = kDefaults[8];
    for (const HostCall& w : writes) {
        EXPECT_EQ(w.port, kLfo1DepthPort);
        EXPECT_GE(w.value, 0.0f);
        EXPECT_LE(w.value, 100.0f);
        EXPECT_EQ(w.value, std::round(w.value));
        EXPECT_GE(w.value, last) << "the knob went back while dragged";
        last = w.value;
    }
    EXPECT_GT(last, kDefaults[8]);
}

TEST_F(Lv2Ui, TheHostsLateReflectionsOfADragMoveNothingButItsOwnValuesShow)
{
    Open();
    DragUp(kDepthX, kDepthY, 6, 4);
    const std::vector<HostCall> calls = session->Calls();
    const auto writes = session->Calls(HostCall::Kind::Write);
    ASSERT_GE(writes.size(), 3u);
    ASSERT_NE(writes.front().value, writes.back().value);
    const golden::Picture dragged = Shown();
    // Every value written comes back once the drag is over, in order: the knob stays where the
    // user left it and nothing is written back.
    for (const HostCall& w : writes)
        session->SendControl(w.port, w.value);
    EXPECT_EQ(session->IdleFor(150), 0);
    EXPECT_EQ(session->Calls().size(), calls.size());
    EXPECT_EQ(Differing(Shown(), dragged), 0);
    // A value of the host's own, even one the drag passed, shows as the VST3 editor shows it.
    session->SendControl(kLfo1DepthPort, writes.front().value);
    EXPECT_EQ(session->IdleFor(150), 0);
    const std::string text = std::to_string(static_cast<int>(writes.front().value));
    EXPECT_EQ(Differing(Shown(), Vst3Frame({{"LFO1 Depth", text}})), 0);
    EXPECT_EQ(session->Calls().size(), calls.size());
}

TEST_F(Lv2Ui, WithoutTouchTheEditsStillReachThePort)
{
    Open(false);
    DragUp(kDepthX, kDepthY, 4, 5);
    EXPECT_TRUE(session->Calls(HostCall::Kind::Touch).empty());
    const auto writes = session->Calls(HostCall::Kind::Write);
    ASSERT_FALSE(writes.empty());
    for (const HostCall& w : writes) {
        EXPECT_EQ(w.port, kLfo1DepthPort);
        EXPECT_GE(w.value, 0.0f);
        EXPECT_LE(w.value, 100.0f);
    }
    EXPECT_GT(writes.back().value, kDefaults[8]);
}

TEST_F(Lv2Ui, HideAndShowUnmapAndMapTheWindow)
{
    Open();
    XWindowAttributes a;
    EXPECT_EQ(session->Hide(), 0);
    ASSERT_TRUE(XGetWindowAttributes(display, session->Widget(), &a));
    EXPECT_EQ(a.map_state, IsUnmapped);
    EXPECT_EQ(session->IdleFor(100), 0);
    EXPECT_EQ(session->Show(), 0);
    ASSERT_TRUE(XGetWindowAttributes(display, session->Widget(), &a));
    EXPECT_EQ(a.map_state, IsViewable);
    EXPECT_EQ(session->IdleFor(150), 0);
    const auto reference = golden::ReadPng(std::string(VIBRASCEND_GOLDEN_DIR) + "/defaults.png");
    ASSERT_TRUE(reference);
    EXPECT_EQ(Differing(Shown(), *reference), 0);
}

TEST_F(Lv2Ui, ReportsItselfClosedOnceTheParentIsDestroyed)
{
    Open();
    host.reset();
    EXPECT_EQ(session->IdleFor(200), 1);
    session->SendControl(kLfo1DepthPort, 80.0f);
    EXPECT_EQ(session->IdleFor(50), 1);
    EXPECT_NE(session->Show(), 0);
    EXPECT_EQ(session->Hide(), 1);
    session->Cleanup();
}

TEST_F(Lv2Ui, CleanupWhileOpenTakesTheWindowAway)
{
    Open();
    input->MoveTo(host->Id(), kDepthX, kDepthY);
    input->Click(4);
    input->Sync();
    session->IdleFor(60);
    const unsigned long widget = session->Widget();
    session->Cleanup();
    // The wheel's edit was open: closing ends it.
    const auto touches = session->Calls(HostCall::Kind::Touch);
    ASSERT_EQ(touches.size(), 2u);
    EXPECT_EQ(touches.back().value, 0.0f);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(display, host->Id(), &root, &parent, &children, &count));
    if (children)
        XFree(children);
    EXPECT_EQ(count, 0u) << "window " << widget << " left behind";
}

}  // namespace
