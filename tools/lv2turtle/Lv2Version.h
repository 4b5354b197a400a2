// The plug-in's release number and the LV2 version numbers it is published under.
#pragma once

#include <optional>
#include <string_view>

namespace vibrascend::lv2turtle {

struct ReleaseNumber {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned micro = 0;
};

// "MAJOR.MINOR.MICRO", each a decimal number below 100000; nullopt for anything else.
std::optional<ReleaseNumber> ParseReleaseNumber(std::string_view text);

struct Lv2Version {
    unsigned minorVersion = 0;
    unsigned microVersion = 0;
};

// LV2 versions a plug-in by lv2:minorVersion and lv2:microVersion only (a new major version is a
// new plug-in URI), and hosts take an odd number in either as a development version that they
// may hide or warn about. Release 1.1.0 is a release, so its numbers are doubled: minor 2,
// micro 0. Doubling keeps every release even and keeps the order of releases under one URI.
Lv2Version Lv2VersionOf(const ReleaseNumber& release);

}  // namespace vibrascend::lv2turtle
