// UTF-8 decoding for text drawing: a forgiving step-by-step walk in which
// any byte that does not start a well-formed sequence stands for itself,
// and a strict whole-string conversion that refuses malformed input.
#pragma once

#include <cstddef>
#include <string_view>

namespace pix {

struct Utf8Step {
    char32_t code = 0;
    int length = 1;  // bytes consumed, at least 1
};

// The code point at text[0]: a lead byte 0xC2..0xDF takes one continuation
// byte (0x80..0xBF), 0xE0..0xEF two, 0xF0..0xF4 three; a lead byte without
// its continuation bytes inside `text`, or any other byte, is its own value.
Utf8Step NextCodePoint(std::string_view text);

// Decodes well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF) into out, which holds at least text.size() entries. Answers the
// number of code points, or -1 when text is not well-formed.
long DecodeUtf8(std::string_view text, char32_t* out);

}  // namespace pix
