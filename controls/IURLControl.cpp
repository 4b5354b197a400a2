#include "controls/IURLControl.h"

#include "controls/IGraphics.h"

#include <cstring>

namespace {

void CopyField(char* field, int size, const char* source)
{
    if (!source)
        return;
    const std::size_t n = strnlen(source, static_cast<std::size_t>(size - 1));
    std::memcpy(field, source, n);
    field[n] = '\0';
}

}  // namespace

IURLControl::IURLControl(IEditHost* host, const IBox& area, const char* address, const char* backupAddress,
                         const char* caption)
    : IControl(host, -1)
{
    rect = area;
    targetRect = area;
    CopyField(url, kUrlSize, address);
    CopyField(backupUrl, kUrlSize, backupAddress);
    CopyField(title, kTitleSize, caption);
}

void IURLControl::OnMouseDown(int, int, const IMouseState&)
{
    IGraphics* graphics = Graphics();
    if (!graphics)
        return;
    // No confirmation and no error text: a failure stays silent.
    if (url[0] && graphics->OpenURL(url, title, nullptr, nullptr))
        return;
    if (backupUrl[0])
        graphics->OpenURL(backupUrl, title, nullptr, nullptr);
}

bool IURLControl::Draw(IGraphics&) { return true; }
