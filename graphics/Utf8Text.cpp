#include "Utf8Text.h"

namespace pix {

namespace {

bool IsContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

int SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

char32_t LeadBits(unsigned char lead, int length)
{
    return length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
}

}  // namespace

Utf8Step NextCodePoint(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const int length = SequenceLength(lead);
    if (length == 1 || text.size() < std::size_t(length))
        return Utf8Step{lead, 1};
    char32_t code = LeadBits(lead, length);
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[std::size_t(i)]);
        if (!IsContinuation(b))
            return Utf8Step{lead, 1};
        code = code << 6 | (b & 0x3F);
    }
    return Utf8Step{code, length};
}

long DecodeUtf8(std::string_view text, char32_t* out)
{
    long count = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out[count++] = lead;
            ++i;
            continue;
        }
        const Utf8Step step = NextCodePoint(text.substr(i));
        const bool shortest = (step.length == 2) || (step.length == 3 && step.code >= 0x800) ||
                              (step.length == 4 && step.code >= 0x10000);
        if (step.length == 1 || !shortest || (step.code >= 0xD800 && step.code <= 0xDFFF) || step.code > 0x10FFFF)
            return -1;
        out[count++] = step.code;
        i += std::size_t(step.length);
    }
    return count;
}

}  // namespace pix
