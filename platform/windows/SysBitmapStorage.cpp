// System bitmap pixels on Windows: a 32-bit top-down DIB section selected into a memory device
// context compatible with the screen, so that the window can blit from that context directly.
#include "platform/SysBitmapStorage.h"

#include <windows.h>

namespace platform {

struct SysBitmapStorage::Native {
    HDC context = nullptr;
    HBITMAP section = nullptr;
    HGDIOBJ previous = nullptr;  // what the context held before the section
};

SysBitmapStorage::SysBitmapStorage() : native(std::make_unique<Native>())
{
    native->context = CreateCompatibleDC(nullptr);
}

SysBitmapStorage::~SysBitmapStorage()
{
    Release();
    if (native->context)
        DeleteDC(native->context);
}

bool SysBitmapStorage::Usable() const { return native->context != nullptr; }

std::uint32_t* SysBitmapStorage::Allocate(int width, int height)
{
    Release();
    if (!native->context || width < 1 || height < 1)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: the top row comes first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(native->context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section || !bits) {
        if (section)
            DeleteObject(section);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(native->context, section);
    if (!previous || previous == HGDI_ERROR) {
        DeleteObject(section);
        return nullptr;
    }
    native->section = section;
    native->previous = previous;
    return static_cast<std::uint32_t*>(bits);
}

void SysBitmapStorage::Release()
{
    if (!native->section)
        return;
    // The pixels may still be the target of queued drawing: finish it before they go.
    GdiFlush();
    SelectObject(native->context, native->previous);
    DeleteObject(native->section);
    native->section = nullptr;
    native->previous = nullptr;
}

void* SysBitmapStorage::Context() const { return native->context; }

}  // namespace platform
