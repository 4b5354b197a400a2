#include "PIX_SysBitmap.h"

namespace {
constexpr long long kMaxBytes = 1LL << 31;  // larger back buffers count as failed allocations
}  // namespace

PIX_SysBitmap::PIX_SysBitmap(int w, int h) { Resize(w, h); }

bool PIX_SysBitmap::Resize(int w, int h)
{
    if (!storage.Usable()) {
        width = height = 0;
        pixels = nullptr;
        return false;
    }
    if (w == width && h == height)
        return false;
    width = w;
    height = h;
    if (w > 0 && h > 0 && pixels && allocWidth >= w && allocHeight >= h)
        return true;

    storage.Release();
    pixels = nullptr;
    allocWidth = w > 0 ? int((static_cast<long long>(w) + 3) & ~3LL) : 0;
    allocHeight = h > 0 ? h : 0;
    if (allocWidth < 1 || allocHeight < 1) {
        // No pixels: report an empty bitmap rather than a size nothing backs.
        width = height = allocWidth = allocHeight = 0;
        return false;
    }
    const long long bytes = static_cast<long long>(allocWidth) * allocHeight * 4;
    if (bytes <= kMaxBytes)
        pixels = storage.Allocate(allocWidth, allocHeight);
    if (!pixels)
        width = height = allocWidth = allocHeight = 0;
    return true;
}
