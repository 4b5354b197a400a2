#include "framework/IFxVST3View.h"

#include "framework/IFxVST3.h"
#include "graphics/IGraphics.h"
#include "graphics/PIX_SysBitmap.h"

#if !defined(_WIN32)
#include "framework/IFxVST3RunLoop.h"
#include "platform/linux/EmbedTarget.h"

#include <cstdint>
#endif

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
    // A host that releases the view without removing it first must not leave the window
    // driven by a run loop that goes away with the view.
    if (runLoop) {
        if (IGraphics* graphics = plugin->Graphics())
            graphics->CloseWindow();
        runLoop.reset();
    }
    plugin->RemoveView(this);
    plugin->release();
}

tresult PLUGIN_API IFxVST3View::isPlatformTypeSupported(FIDString type)
{
    if (!plugin->Graphics() || !type)
        return kResultFalse;
    return std::strcmp(type, kNativeViewType) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IFxVST3View::attached(void* parent, FIDString type)
{
    IGraphics* graphics = plugin->Graphics();
    if (!graphics)
        return kResultFalse;
    CPluginView::attached(parent, type);
    if (type && std::strcmp(type, kNativeViewType) == 0) {
#if defined(_WIN32)
        graphics->OpenWindow(parent);
#else
        // The parent is an X window id; the window runs on the run loop the host's frame offers.
        runLoop = IFxVST3RunLoop::FromFrame(plugFrame);
        EmbedTarget target{static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(parent)), runLoop.get()};
        graphics->OpenWindow(&target);
#endif
    }
    plugin->OnEditorOpen();
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::removed()
{
    if (IGraphics* graphics = plugin->Graphics()) {
        plugin->OnEditorClose();
        graphics->CloseWindow();
    }
    runLoop.reset();
    return CPluginView::removed();
}

tresult PLUGIN_API IFxVST3View::onWheel(float) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::onKeyDown(char16, int16, int16) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::onKeyUp(char16, int16, int16) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::getSize(ViewRect* size)
{
    IGraphics* graphics = plugin->Graphics();
    if (!graphics || !size)
        return kResultFalse;
    *size = ViewRect(0, 0, graphics->Width(), graphics->Height());
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::onSize(ViewRect* newSize)
{
    if (!newSize)
        return kResultOk;
    rect = *newSize;
    if (resizeRequested) {
        plugin->OnEditorResized();
        resizeRequested = false;
    }
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::onFocus(TBool) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::setFrame(IPlugFrame* frame)
{
    plugFrame = frame;
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::canResize() { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::checkSizeConstraint(ViewRect*) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::mouseEvent(int32 kind, int32 x, int32 y, int32 dy, int32 modifiers)
{
    IGraphics* graphics = plugin->Graphics();
    if (!graphics)
        return kResultFalse;
    IMouseState mod{};
    mod.S = (modifiers & kShift) != 0;
    mod.C = (modifiers & kControl) != 0;
    mod.A = (modifiers & kAlt) != 0;
    switch (kind) {
    case kMouseOver: graphics->OnMouseOver(x, y, mod); break;
    case kLeftDown: mod.L = true; graphics->OnMouseDown(x, y, mod); break;
    case kLeftUp: mod.L = true; graphics->OnMouseUp(x, y, mod); break;
    case kRightDown: mod.R = true; graphics->OnMouseDown(x, y, mod); break;
    case kRightUp: mod.R = true; graphics->OnMouseUp(x, y, mod); break;
    case kDrag: mod.L = true; graphics->OnMouseDrag(x, y, mod); break;
    case kWheel: graphics->OnMouseWheel(x, y, mod, dy); break;
    case kDoubleClick: mod.L = true; graphics->OnMouseDblClick(x, y, mod); break;
    case kMouseOut: graphics->OnMouseOut(); break;
    default: return kInvalidArgument;
    }
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::capture(uint32* pixels, int32 capacity, int32& width, int32& height)
{
    IGraphics* graphics = plugin->Graphics();
    if (!graphics)
        return kResultFalse;
    width = graphics->Width();
    height = graphics->Height();
    graphics->Draw(IBox{0, 0, width, height});
    const PIX_SysBitmap* back = graphics->BackBuffer();
    if (!back || !pixels || capacity < int64(width) * height)
        return kResultFalse;
    const int span = back->GetRowSpan();
    const uint32* bits = back->GetBits();
    for (int32 row = 0; row < height; ++row)
        std::memcpy(pixels + int64(row) * width, bits + int64(row) * span, sizeof(uint32) * size_t(width));
    return kResultOk;
}
