#include "Lv2Version.h"

#include <array>
#include <charconv>

namespace vibrascend::lv2turtle {

namespace {

constexpr unsigned kLargestPart = 99999;

}  // namespace

std::optional<ReleaseNumber> ParseReleaseNumber(std::string_view text)
{
    std::array<unsigned, 3> parts{};
    const char* position = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            if (position == end || *position != '.')
                return std::nullopt;
            ++position;
        }
        // from_chars takes no sign and no spaces, so only digits get through.
        const auto [next, error] = std::from_chars(position, end, parts[i]);
        if (error != std::errc() || parts[i] > kLargestPart)
            return std::nullopt;
        position = next;
    }
    if (position != end)
        return std::nullopt;
    return ReleaseNumber{parts[0], parts[1], parts[2]};
}

Lv2Version Lv2VersionOf(const ReleaseNumber& release) { return {release.minor * 2, release.micro * 2}; }

}  // namespace vibrascend::lv2turtle
