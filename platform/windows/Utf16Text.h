// The UTF-16 text the system's wide-character drawing takes, made from code points: characters
// above U+FFFF become surrogate pairs; code points no UTF-16 text can hold (surrogates, values
// above U+10FFFF) become U+FFFD.
#pragma once

#include <span>
#include <string>

namespace platform {

std::wstring Utf16FromCodePoints(std::span<const char32_t> codes);

}  // namespace platform
