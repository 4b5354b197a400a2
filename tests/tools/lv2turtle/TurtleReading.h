// Reads Turtle text back with serd, as hosts' LV2 libraries do, for the generator's tests.
#pragma once

#include <string>
#include <vector>

namespace vibrascend::lv2turtle::test {

// One statement's object as serd read it: its text and, for a literal, its datatype URI.
struct TurtleObject {
    std::string text;
    std::string datatype;
};

struct TurtleReading {
    bool ok = false;  // the whole document was read without a syntax error
    std::vector<TurtleObject> objects;
};

TurtleReading ReadTurtle(const std::string& document);

// The object of the single statement `<urn:s> <urn:p> OBJECT .`.
TurtleReading ReadTurtleObject(const std::string& object);

}  // namespace vibrascend::lv2turtle::test
