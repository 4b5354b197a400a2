// The Turtle forms of a text and of a number: a quoted string literal with its escapes, and a
// numeric literal that reads back as exactly the same double.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vibrascend::lv2turtle {

// `text` as a Turtle string literal in double quotes: backslash, quote and control characters
// escaped, valid UTF-8 passed through, each byte that is not part of valid UTF-8 replaced by
// U+FFFD (Turtle documents must be UTF-8).
std::string TurtleString(std::string_view text);

// The shortest decimal form of `value` that reads back as the same double, always with a decimal
// point or an exponent so that Turtle reads a decimal or a double, never an integer ("1000.0",
// "0.37", "-64.0", "1e-300"). Turtle has no literal for a non-finite number: nullopt then.
std::optional<std::string> TurtleNumber(double value);
// The same for a value known to be finite; throws std::invalid_argument for one that is not.
std::string FiniteTurtleNumber(double value);

}  // namespace vibrascend::lv2turtle
