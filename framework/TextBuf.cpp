#include "framework/TextBuf.h"

#include <cstring>
#include <string>

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
    size_t length = maxLength < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(maxLength));
    if (length > 0x7FFFFFF0u)
        return false;
    // A copy keeps a source that lies inside this buffer valid across the resize.
    const std::string copy(text, length);
    if (!buf.Resize(static_cast<int32_t>(length) + 1, true))
        return false;
    std::memcpy(buf.Data(), copy.c_str(), length + 1);
    return true;
}
