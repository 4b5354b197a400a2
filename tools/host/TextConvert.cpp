#include "TextConvert.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace vibrascend::host {

namespace {

void AppendCodePoint(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

std::string ToUtf8(const Steinberg::Vst::TChar* text, std::size_t maxUnits)
{
    std::string out;
    if (text == nullptr)
        return out;
    std::size_t length = 0;
    while (length < maxUnits && text[length] != 0)
        ++length;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint32_t unit = static_cast<std::uint16_t>(text[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length) {
            const std::uint32_t next = static_cast<std::uint16_t>(text[i + 1]);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendCodePoint(out, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit);
    }
    return out;
}

void ToString128(std::string_view utf8, Steinberg::Vst::TChar* out)
{
    constexpr std::size_t kCapacity = 128;
    std::size_t written = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = kReplacement;
        std::size_t length = 1;
        if (byte < 0x80) {
            cp = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            length = 2;
        } else if ((byte & 0xF0) == 0xE0) {
            length = 3;
        } else if ((byte & 0xF8) == 0xF0) {
            length = 4;
        }
        if (length > 1) {
            if (i + length > utf8.size()) {
                length = 1;
            } else {
                cp = byte & (0x7F >> length);
                for (std::size_t k = 1; k < length; ++k) {
                    const auto cont = static_cast<unsigned char>(utf8[i + k]);
                    if ((cont & 0xC0) != 0x80) {
                        cp = kReplacement;
                        length = 1;
                        break;
                    }
                    cp = (cp << 6) | (cont & 0x3F);
                }
            }
        }
        i += length;
        const std::size_t units = cp >= 0x10000 ? 2 : 1;
        if (written + units >= kCapacity)
            break;
        if (units == 2) {
            cp -= 0x10000;
            out[written++] = static_cast<Steinberg::Vst::TChar>(0xD800 + (cp >> 10));
            out[written++] = static_cast<Steinberg::Vst::TChar>(0xDC00 + (cp & 0x3FF));
        } else {
            out[written++] = static_cast<Steinberg::Vst::TChar>(cp);
        }
    }
    out[written] = 0;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool ContainsIgnoringCase(std::string_view haystack, std::string_view needle)
{
    const auto found = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                   [](char x, char y) { return Lower(x) == Lower(y); });
    return found != haystack.end() || needle.empty();
}

}  // namespace vibrascend::host
