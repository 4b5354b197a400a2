#include "platform/linux/IGraphicsLinux.h"

#include "framework/IFxBase.h"
#include "graphics/PngDecoder.h"
#include "platform/EmbeddedResources.h"
#include "platform/linux/ModuleInfo.h"

#include <unistd.h>

#include <climits>

IGraphicsLinux::IGraphicsLinux(IFxBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps), module(platform::ThisModule())
{
}

bool IGraphicsLinux::PresentRegion(const IBox&) { return true; }

void IGraphicsLinux::OpenValueEntry(IControl*, IParamDef*, bool) {}

std::string IGraphicsLinux::HostFolder() const
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string exe(path, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

std::string IGraphicsLinux::LibraryFolder() const
{
    return ModuleFolderOf(reinterpret_cast<const void*>(&ModuleFolderOf));
}

bool IGraphicsLinux::OpenURL(const char* url, const char*, const char* confirmText, const char*)
{
    if (confirmText)
        return false;
    return urlOpener.Open(url);
}

void IGraphicsLinux::SetParamEditCountdown(int ticks)
{
    auto held = HoldPlugLock();
    paramEditCountdown = ticks;
}

void IGraphicsLinux::CancelParamEditCountdown()
{
    auto held = HoldPlugLock();
    paramEditCountdown = 0;
}

void* IGraphicsLinux::OpenWindow(void*) { return nullptr; }

void IGraphicsLinux::CloseWindow() {}

void* IGraphicsLinux::GetWindow() const { return nullptr; }

std::unique_ptr<PIX_IBitmap> IGraphicsLinux::DecodeImage(int resourceId, const char*)
{
    return pix::DecodePngResource(module, resourceId);
}

void IGraphicsLinux::Tick()
{
    auto held = HoldPlugLock();
    IBox dirty;
    if (IsDirty(dirty))
        Draw(dirty);
    if (paramEditCountdown > 0 && --paramEditCountdown == 0 && Plug())
        Plug()->FlushDelayedParamEdit();
}
