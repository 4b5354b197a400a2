// A failure to describe or write the bundle, with the one line that tells the user why.
#pragma once

#include <stdexcept>

namespace vibrascend::lv2turtle {

class Lv2TurtleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vibrascend::lv2turtle
