#include "framework/HostKind.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

struct HostEntry {
    const char* substring;
    int kind;
};

// Searched in order: the first substring found decides.
constexpr HostEntry kHostTable[] = {
    {"quillmarsh", 29}, {"cubase", 3},      {"reaper", 1},      {"nuendo", 4},
    {"cakewalk", 5},    {"samplitude", 8},  {"fruity", 7},      {"live", 9},
    {"melodyne", 12},   {"vstmanlib", 13},  {"aulab", 14},      {"forte", 15},
    {"chainer", 16},    {"audition", 17},   {"orion", 18},      {"sawstudio", 20},
    {"logic", 21},      {"digital", 22},    {"audiomulch", 23}, {"presonus", 24},
    {"acoustica", 25},  {"garageband", 26}, {"ardour", kHostArdour}, {"wavelab", kHostWaveLab},
    {"gold", 30},
};

}  // namespace

int HostKindFromName(const char* name)
{
    if (!name)
        return 0;
    std::string lower(name);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const HostEntry& entry : kHostTable)
        if (lower.find(entry.substring) != std::string::npos)
            return entry.kind;
    return 0;
}
