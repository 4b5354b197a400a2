#include "framework/TextBuf.h"

#include <cstring>
#include <cstddef>

const char* TextBuf::Get() const
{
    const auto* text = static_cast<const char*>(buf.Data());
    return text ? text : "";
}

int TextBuf::Length() const { return static_cast<int>(std::strlen(Get())); }

bool TextBuf::Set(const char* text, int maxLength)
{
    if (!text)
        text = "";
    const size_t length = maxLength < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(maxLength));
    if (length > 0x7FFFFFF0u)
        return false;
    // A source inside this buffer is found again by its offset once the buffer may have moved;
    // a text that fits the allocation is set without allocating.
    const char* data = static_cast<const char*>(buf.Data());
    const bool inside = data && text >= data && text < data + buf.Allocated();
    const ptrdiff_t offset = inside ? text - data : 0;
    // Shrinking could drop the part of the buffer the text is copied from.
    if (!buf.Resize(static_cast<int32_t>(length) + 1, !inside))
        return false;
    char* dst = static_cast<char*>(buf.Data());
    std::memmove(dst, inside ? dst + offset : text, length);
    dst[length] = '\0';
    return true;
}
