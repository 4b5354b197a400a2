#include "framework/vst3/IFxVST3View.h"

#include "framework/vst3/IFxVST3.h"

#if !defined(_WIN32)
#include "framework/vst3/IFxVST3RunLoop.h"
#include "platform/linux/EmbedTarget.h"

#include <cstdint>
#endif

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

using namespace Steinberg;

#if defined(_WIN32)
const char* const kNativeViewType = kPlatformTypeHWND;
#else
const char* const kNativeViewType = kPlatformTypeX11EmbedWindowID;
#endif

IFxVST3View::IFxVST3View(IFxVST3* owner) : CPluginView(nullptr), plugin(owner)
{
    plugin->addRef();
    plugin->AddView(this);
}

IFxVST3View::~IFxVST3View()
{
    // A host that releases the view without removing it first must not leave the window open
    // (on Linux driven by a run loop that goes away with the view).
    if (windowOpen) {
        if (IFxEditor* editor = plugin->Editor())
            editor->CloseWindow();
    }
    runLoop.reset();
    plugin->RemoveView(this);
    plugin->release();
}

tresult PLUGIN_API IFxVST3View::isPlatformTypeSupported(FIDString type)
{
    if (!plugin->Editor() || !type)
        return kResultFalse;
    return std::strcmp(type, kNativeViewType) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IFxVST3View::attached(void* parent, FIDString type)
{
    IFxEditor* editor = plugin->Editor();
    if (!editor)
        return kResultFalse;
    CPluginView::attached(parent, type);
    if (type && std::strcmp(type, kNativeViewType) == 0) {
#if defined(_WIN32)
        windowOpen = editor->OpenWindow(parent) != nullptr;
#else
        // The parent is an X window id; the window runs on the run loop the host's frame offers.
        runLoop = IFxVST3RunLoop::FromFrame(plugFrame);
        EmbedTarget target{static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(parent)), runLoop.get()};
        windowOpen = editor->OpenWindow(&target) != nullptr;
#endif
    }
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::removed()
{
    if (IFxEditor* editor = plugin->Editor())
        editor->CloseWindow();
    windowOpen = false;
    runLoop.reset();
    return CPluginView::removed();
}

tresult PLUGIN_API IFxVST3View::onWheel(float) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::onKeyDown(char16, int16, int16) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::onKeyUp(char16, int16, int16) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::getSize(ViewRect* size)
{
    IFxEditor* editor = plugin->Editor();
    if (!editor || !size)
        return kResultFalse;
    *size = ViewRect(0, 0, editor->Width(), editor->Height());
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::onSize(ViewRect* newSize)
{
    if (!newSize)
        return kResultOk;
    rect = *newSize;
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::onFocus(TBool) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::setFrame(IPlugFrame* frame)
{
    plugFrame = frame;
    return kResultOk;
}

// The editor has one size. A host that widens its own frame keeps the view at that size; where
// it stretches the editor's window anyway, the window carries the editor's edge on into the
// extra area.
tresult PLUGIN_API IFxVST3View::canResize() { return kResultFalse; }

// Hosts ask with the size they would like and take the rect back as the nearest one allowed: the
// editor's own size at the same top-left corner, which is an answer, so kResultTrue. Without an
// editor or a rect there is nothing to constrain.
tresult PLUGIN_API IFxVST3View::checkSizeConstraint(ViewRect* rect)
{
    IFxEditor* editor = plugin->Editor();
    if (!editor || !rect)
        return kResultFalse;
    // A corner so far out that the size does not fit after it moves back just enough.
    const auto place = [](int32& from, int32& to, int size) {
        from = static_cast<int32>(std::min<long long>(from, static_cast<long long>(INT32_MAX) - size));
        to = from + size;
    };
    place(rect->left, rect->right, editor->Width());
    place(rect->top, rect->bottom, editor->Height());
    return kResultTrue;
}

tresult PLUGIN_API IFxVST3View::mouseEvent(int32 kind, int32 x, int32 y, int32 dy, int32 modifiers)
{
    IFxEditor* editor = plugin->Editor();
    if (!editor)
        return kResultFalse;
    using Event = IFxEditor::MouseEvent;
    Event event = Event::kOver;
    switch (kind) {
    case kMouseOver: event = Event::kOver; break;
    case kLeftDown: event = Event::kLeftDown; break;
    case kLeftUp: event = Event::kLeftUp; break;
    case kRightDown: event = Event::kRightDown; break;
    case kRightUp: event = Event::kRightUp; break;
    case kDrag: event = Event::kDrag; break;
    case kWheel: event = Event::kWheel; break;
    case kDoubleClick: event = Event::kDoubleClick; break;
    case kMouseOut: event = Event::kOut; break;
    default: return kInvalidArgument;
    }
    editor->DeliverMouse(event, x, y, dy, (modifiers & kShift) != 0, (modifiers & kControl) != 0,
                         (modifiers & kAlt) != 0);
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::capture(uint32* pixels, int32 capacity, int32& width, int32& height)
{
    IFxEditor* editor = plugin->Editor();
    if (!editor)
        return kResultFalse;
    int w = 0;
    int h = 0;
    const bool copied = editor->CaptureFrame(pixels, capacity, w, h);
    width = w;
    height = h;
    return copied ? kResultOk : kResultFalse;
}
