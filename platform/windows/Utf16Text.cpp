#include "Utf16Text.h"

namespace platform {

std::wstring Utf16FromCodePoints(std::span<const char32_t> codes)
{
    static_assert(sizeof(wchar_t) == 2, "wide characters are UTF-16 units on Windows");
    std::wstring text;
    text.reserve(codes.size());
    for (char32_t code : codes) {
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            code = 0xFFFD;
        if (code < 0x10000) {
            text.push_back(wchar_t(code));
        } else {
            code -= 0x10000;
            text.push_back(wchar_t(0xD800 + (code >> 10)));
            text.push_back(wchar_t(0xDC00 + (code & 0x3FF)));
        }
    }
    return text;
}

}  // namespace platform
