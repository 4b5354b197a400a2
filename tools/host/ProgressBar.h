// A one-line progress bar for long renders, redrawn in place on a terminal.
#pragma once

#include <cstdint>
#include <cstdio>

namespace vibrascend::host {

class ProgressBar {
public:
    // Draws into `out` only when `enabled`; total may be 0 (nothing is drawn then).
    ProgressBar(std::FILE* out, std::uint64_t total, bool enabled);
    // Enabled when stderr is a terminal and the input lasts longer than `minimumSeconds`.
    static ProgressBar ForStandardError(std::uint64_t totalFrames, double sampleRate, double minimumSeconds = 30.0);

    void Update(std::uint64_t done);
    // Completes the line so later messages start on a fresh one.
    void Finish();

private:
    std::FILE* out;
    std::uint64_t total;
    bool enabled;
    int shownPercent = -1;
    bool finished = false;
};

}  // namespace vibrascend::host
