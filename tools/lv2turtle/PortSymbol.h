// The LV2 port symbol of a parameter, made from its name.
#pragma once

#include <string>
#include <string_view>

namespace vibrascend::lv2turtle {

// `name` lowercased, every run of characters other than ASCII letters and digits replaced by one
// '_' ("Split Freq" -> "split_freq", "LFO1 Target" -> "lfo1_target"). A symbol may not start
// with a digit nor be empty, so such a result gets a leading '_' ("1 Hz" -> "_1_hz").
std::string PortSymbol(std::string_view name);

// Whether `symbol` is a valid LV2 symbol: [_a-zA-Z][_a-zA-Z0-9]*.
bool IsPortSymbol(std::string_view symbol);

}  // namespace vibrascend::lv2turtle
