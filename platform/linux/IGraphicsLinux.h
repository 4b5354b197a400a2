// IGraphicsLinux: the editor's graphics object on Linux. It supplies the platform operations of
// IGraphics: images from the resources embedded in this library, the desktop's URL opener, the
// host's and the library's folders and the delayed end-of-edit countdown. The X11 child window
// (opening, presenting the back buffer, input, typed value entry) is not part of it yet: until
// it is, OpenWindow answers null and presenting succeeds without a screen.
#pragma once

#include "graphics/IGraphics.h"
#include "platform/linux/UrlOpener.h"

class IGraphicsLinux : public IGraphics {
public:
    IGraphicsLinux(IFxBase* plug, int width, int height, int fps);

    bool PresentRegion(const IBox& rect) override;
    void OpenValueEntry(IControl* control, IParamDef* param, bool centred) override;
    std::string HostFolder() const override;
    std::string LibraryFolder() const override;
    // Without a window there is nobody to ask: an address that needs confirmation is not opened,
    // and failures are reported by the answer only.
    bool OpenURL(const char* url, const char* caption, const char* confirmText, const char* errorText) override;
    void SetParamEditCountdown(int ticks) override;
    void CancelParamEditCountdown() override;
    void* OpenWindow(void* parent) override;
    void CloseWindow() override;
    void* GetWindow() const override;
    std::unique_ptr<PIX_IBitmap> DecodeImage(int resourceId, const char* name) override;

    // One frame of the redraw timer: redraws and presents whatever is dirty, then counts the
    // delayed end of an edit down and sends it when it expires.
    void Tick();
    int ParamEditCountdown() const { return paramEditCountdown; }

private:
    const void* module;  // holds the embedded images
    int paramEditCountdown = 0;
    UrlOpener urlOpener;
};
