#include "PIX_MemBitmap.h"

#include <climits>
#include <cstdint>

PIX_MemBitmap::PIX_MemBitmap(int w, int h, int rowAlignment)
{
    if (rowAlignment >= 2) {
        const int lowest = rowAlignment & -rowAlignment;
        alignMask = (lowest < 16 ? lowest : 16) - 1;
    }
    if (w > 0 && h > 0)
        Resize(w, h);
}

int PIX_MemBitmap::RowSpanFor(int w) const
{
    if (w <= 0)
        return 0;
    return int((static_cast<long long>(w) + alignMask) & ~static_cast<long long>(alignMask));
}

int PIX_MemBitmap::GetRowSpan() const { return RowSpanFor(width); }

std::uint32_t* PIX_MemBitmap::GetBits() const
{
    if (!buffer)
        return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(buffer.get());
    const std::uintptr_t aligned = (address + kAlignBytes - 1) & ~std::uintptr_t(kAlignBytes - 1);
    return reinterpret_cast<std::uint32_t*>(aligned);
}

bool PIX_MemBitmap::Resize(int w, int h)
{
    if (w == width && h == height)
        return false;
    width = w;
    height = h;
    const long long needed = static_cast<long long>(h) * RowSpanFor(w) * 4;
    if (w > 0 && h > 0 && needed > 0) {
        // Sizes the allocated-size field cannot describe count as a failed allocation.
        const long long withHeadroom = needed / 4 * 5;
        if (!buffer || allocatedSize < needed) {
            buffer.reset();
            allocatedSize = 0;
            if (withHeadroom + kAlignBytes - 1 <= INT_MAX) {
                buffer.reset(static_cast<unsigned char*>(std::malloc(size_t(withHeadroom) + kAlignBytes - 1)));
                if (buffer)
                    allocatedSize = int(withHeadroom);
            }
            if (!buffer && needed + kAlignBytes - 1 <= INT_MAX) {
                buffer.reset(static_cast<unsigned char*>(std::malloc(size_t(needed) + kAlignBytes - 1)));
                if (buffer)
                    allocatedSize = int(needed);
            }
        }
    } else {
        buffer.reset();
        allocatedSize = 0;
    }
    if (!buffer) {
        width = 0;
        height = 0;
    }
    return true;
}
