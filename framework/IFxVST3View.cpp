#include "framework/IFxVST3View.h"

#include "framework/IFxVST3.h"
#include "graphics/IGraphics.h"

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
    if (type && std::strcmp(type, kNativeViewType) == 0)
        graphics->OpenWindow(parent);
    plugin->OnEditorOpen();
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::removed()
{
    if (IGraphics* graphics = plugin->Graphics()) {
        plugin->OnEditorClose();
        graphics->CloseWindow();
    }
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
