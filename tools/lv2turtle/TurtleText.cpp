#include "TurtleText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace vibrascend::lv2turtle {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at the start of `text` (1 to 4), or 0 when it starts
// with a byte that is not one: a stray continuation byte, an overlong form, a surrogate, a code
// point above U+10FFFF or a sequence cut short.
std::size_t Utf8SequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    // The sequence's length, the smallest code point it may carry and the lead byte's bits.
    struct Form {
        unsigned char mask;
        unsigned char pattern;
        std::size_t length;
        char32_t lowest;
    };
    constexpr Form kForms[] = {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
    const Form* form = nullptr;
    for (const Form& candidate : kForms)
        if ((lead & candidate.mask) == candidate.pattern)
            form = &candidate;
    if (!form)
        return 0;
    const std::size_t length = form->length;
    const char32_t lowest = form->lowest;
    char32_t code = lead & static_cast<unsigned char>(~form->mask);
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

std::string TurtleString(std::string_view text)
{
    std::string out = "\"";
    while (!text.empty()) {
        const char c = text.front();
        const auto byte = static_cast<unsigned char>(c);
        std::size_t used = 1;
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(byte));
                out += escape;
            } else if (const std::size_t length = Utf8SequenceLength(text); length == 0) {
                out += kReplacementCharacter;
            } else {
                out += text.substr(0, length);
                used = length;
            }
        }
        text.remove_prefix(used);
    }
    out += '"';
    return out;
}

std::optional<std::string> TurtleNumber(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char digits[40];
    // 17 significant digits always read back exactly; fewer often do and read better.
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(digits, sizeof digits, "%.*g", precision, value);
        if (std::strtod(digits, nullptr) == value)
            break;
    }
    // A number the shortest form writes with a positive exponent below 17 ("1e+03") is written
    // out instead ("1000"): the extra digits are exact.
    if (const char* exponent = std::strchr(digits, 'e')) {
        const int power = std::atoi(exponent + 1);
        if (power >= 0 && power < 17)
            std::snprintf(digits, sizeof digits, "%.*g", power + 1, value);
    }
    std::string out = digits;
    if (out.find_first_of(".e") == std::string::npos)
        out += ".0";
    return out;
}

std::string FiniteTurtleNumber(double value)
{
    std::optional<std::string> number = TurtleNumber(value);
    if (!number)
        throw std::invalid_argument("a value that is not a finite number has no Turtle form");
    return *number;
}

}  // namespace vibrascend::lv2turtle
