// Conversion between the plug-in's UTF-16 strings (String128) and the host's UTF-8 text.
#pragma once

#include <pluginterfaces/vst/vsttypes.h>

#include <string>
#include <string_view>

namespace vibrascend::host {

// Reads at most 128 UTF-16 units up to the first zero; unpaired surrogates become U+FFFD.
std::string ToUtf8(const Steinberg::Vst::TChar* text, std::size_t maxUnits = 128);

// Writes text as zero-terminated UTF-16 into `out` (a String128), cutting it to fit 128 units.
void ToString128(std::string_view utf8, Steinberg::Vst::TChar* out);

// ASCII case-insensitive comparison and search, used to match names typed by the user.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool ContainsIgnoringCase(std::string_view haystack, std::string_view needle);

}  // namespace vibrascend::host
