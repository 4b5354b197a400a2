#include "ModuleFixture.h"

#include "framework/vst3/IEditorSnapshot.h"

#include "pluginterfaces/gui/iplugview.h"

#include <algorithm>
#include <cstdint>

using namespace module_test;
using Vibrascend::IEditorSnapshot;

namespace {

struct Editor {
    IPtr<IPlugView> view;
    IPtr<IEditorSnapshot> snapshot;

    explicit Editor(Instance& plug)
    {
        view = owned(plug.Controller()->createView("editor"));
        if (view)
            snapshot = FUnknownPtr<IEditorSnapshot>(view);
    }
    std::vector<uint32> Capture() const
    {
        std::vector<uint32> pixels(434 * 480);
        int32 w = 0, h = 0;
        EXPECT_EQ(snapshot->capture(pixels.data(), static_cast<int32>(pixels.size()), w, h), kResultOk);
        EXPECT_EQ(w, 434);
        EXPECT_EQ(h, 480);
        return pixels;
    }
};

bool SameRows(const std::vector<uint32>& a, const std::vector<uint32>& b, int top, int bottom, int left, int right)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (a[static_cast<size_t>(y * 434 + x)] != b[static_cast<size_t>(y * 434 + x)])
                return false;
    return true;
}

}  // namespace

TEST(EditorView, FixedSizeNativeWindowTypeOnly)
{
    Instance plug;
    Editor editor(plug);
    ASSERT_TRUE(editor.view && editor.snapshot);
    ViewRect rect;
    ASSERT_EQ(editor.view->getSize(&rect), kResultOk);
    EXPECT_EQ(rect.getWidth(), 434);
    EXPECT_EQ(rect.getHeight(), 480);
    // The window type of this platform's hosts only.
#if defined(_WIN32)
    EXPECT_EQ(editor.view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
    EXPECT_EQ(editor.view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
#else
    EXPECT_EQ(editor.view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_EQ(editor.view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
#endif
    EXPECT_EQ(editor.view->canResize(), kResultFalse);
    // Any size asked for comes back as the editor's, at the same corner.
    ViewRect wish(10, 20, 700, 530);
    EXPECT_EQ(editor.view->checkSizeConstraint(&wish), kResultTrue);
    EXPECT_EQ(wish.left, 10);
    EXPECT_EQ(wish.top, 20);
    EXPECT_EQ(wish.getWidth(), 434);
    EXPECT_EQ(wish.getHeight(), 480);
    ViewRect farOut(INT32_MAX - 5, INT32_MAX, INT32_MAX, INT32_MAX);
    EXPECT_EQ(editor.view->checkSizeConstraint(&farOut), kResultTrue);
    EXPECT_EQ(farOut.getWidth(), 434);
    EXPECT_EQ(farOut.getHeight(), 480);
    EXPECT_EQ(editor.view->checkSizeConstraint(nullptr), kResultFalse);
    // A host giving the view a wider frame does not change the editor's size.
    ViewRect wider(0, 0, 700, 530);
    EXPECT_EQ(editor.view->onSize(&wider), kResultOk);
    ASSERT_EQ(editor.view->getSize(&rect), kResultOk);
    EXPECT_EQ(rect.getWidth(), 434);
    EXPECT_EQ(rect.getHeight(), 480);
    EXPECT_EQ(plug.Controller()->createView("other"), nullptr);
}

TEST(EditorView, RangeBarFollowsTheLfoTarget)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample32), kResultOk);
    Editor editor(plug);
    const auto swept = editor.Capture();
    plug.Automate(5, 0.0);  // "LFO1 Target" to "No Assign": the bar collapses
    const auto idle = editor.Capture();
    EXPECT_FALSE(SameRows(swept, idle, 327, 333, 89, 137));
    EXPECT_TRUE(SameRows(swept, idle, 327, 333, 33, 88));
    EXPECT_TRUE(SameRows(swept, idle, 333, 480, 0, 434));
    plug.Automate(5, 1.0 / 3.0);
    EXPECT_EQ(editor.Capture(), swept);
}

TEST(EditorView, KnobDragReachesTheHostAsOneGesture)
{
    Instance plug;
    Editor editor(plug);
    const double before = plug.Controller()->getParamNormalized(2);
    editor.snapshot->mouseEvent(IEditorSnapshot::kLeftDown, 217, 403, 0, 0);
    editor.snapshot->mouseEvent(IEditorSnapshot::kDrag, 217, 399, 0, 0);
    editor.snapshot->mouseEvent(IEditorSnapshot::kLeftUp, 217, 399, 0, 0);
    const auto& edits = plug.Handler().Edits();
    ASSERT_GE(edits.size(), 3u);
    EXPECT_EQ(edits.front().kind, vibrascend::host::EditEvent::Kind::Begin);
    EXPECT_EQ(edits.front().id, 2u);
    EXPECT_EQ(edits.back().kind, vibrascend::host::EditEvent::Kind::End);
    const auto perform = std::find_if(
        edits.begin(), edits.end(), [](const auto& e) { return e.kind == vibrascend::host::EditEvent::Kind::Perform; });
    ASSERT_NE(perform, edits.end());
    EXPECT_GT(perform->value, before);
    EXPECT_DOUBLE_EQ(plug.Controller()->getParamNormalized(2), perform->value);
}

TEST(EditorView, HostileEventsAndTinyBuffers)
{
    Instance plug;
    Editor editor(plug);
    for (int32 kind = -1; kind <= 9; ++kind)
        for (int32 x : {-100000, -1, 0, 433, 434, 2147483647})
            editor.snapshot->mouseEvent(kind, x, x, 3, 7);
    uint32 one = 0;
    int32 w = 0, h = 0;
    EXPECT_EQ(editor.snapshot->capture(&one, 1, w, h), kResultFalse);
    EXPECT_EQ(w, 434);
    EXPECT_EQ(editor.snapshot->capture(nullptr, 0, w, h), kResultFalse);
}
