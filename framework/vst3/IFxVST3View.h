// The editor view handed to the host: shows the plug-in's graphics object in the host's window.
#pragma once

#include "framework/vst3/IEditorSnapshot.h"
#include "platform/linux/EditorRunLoop.h"
#include "public.sdk/source/common/pluginview.h"

#include <memory>

class IFxVST3;

class IFxVST3View : public Steinberg::CPluginView, public Vibrascend::IEditorSnapshot {
public:
    // Takes a reference on the plug-in and joins its list of views.
    explicit IFxVST3View(IFxVST3* plugin);
    ~IFxVST3View() override;

    Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
    Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
    Steinberg::tresult PLUGIN_API removed() override;
    Steinberg::tresult PLUGIN_API onWheel(float distance) override;
    Steinberg::tresult PLUGIN_API onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode,
                                            Steinberg::int16 modifiers) override;
    Steinberg::tresult PLUGIN_API onKeyUp(Steinberg::char16 key, Steinberg::int16 keyCode,
                                          Steinberg::int16 modifiers) override;
    Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
    Steinberg::tresult PLUGIN_API onFocus(Steinberg::TBool state) override;
    Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;
    Steinberg::tresult PLUGIN_API canResize() override;
    Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;

    // IEditorSnapshot
    Steinberg::tresult PLUGIN_API mouseEvent(Steinberg::int32 kind, Steinberg::int32 x, Steinberg::int32 y,
                                             Steinberg::int32 dy, Steinberg::int32 modifiers) override;
    Steinberg::tresult PLUGIN_API capture(Steinberg::uint32* pixels, Steinberg::int32 capacity, Steinberg::int32& width,
                                          Steinberg::int32& height) override;

    OBJ_METHODS(IFxVST3View, CPluginView)
    DEFINE_INTERFACES
    DEF_INTERFACE(Vibrascend::IEditorSnapshot)
    END_DEFINE_INTERFACES(CPluginView)
    REFCOUNT_METHODS(CPluginView)

    Steinberg::IPlugFrame* Frame() const { return plugFrame; }

private:
    IFxVST3* plugin;
    // The host's run loop while the window is open (Linux hosts drive the window through it).
    std::unique_ptr<IEditorRunLoop> runLoop;
    bool windowOpen = false;  // attached() opened the editor's window and removed() has not closed it
};

// The window type this platform's hosts hand to attached().
extern const char* const kNativeViewType;
