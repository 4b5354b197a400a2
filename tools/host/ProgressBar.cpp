#include "ProgressBar.h"

#include <algorithm>
#include <string>

#include "platform/Files.h"

namespace vibrascend::host {

namespace {
constexpr int kWidth = 40;
}

ProgressBar::ProgressBar(std::FILE* stream, std::uint64_t totalFrames, bool show)
    : out(stream), total(totalFrames), enabled(show && stream != nullptr && totalFrames > 0)
{
}

ProgressBar ProgressBar::ForStandardError(std::uint64_t totalFrames, double sampleRate, double minimumSeconds)
{
    const bool longInput = sampleRate > 0 && static_cast<double>(totalFrames) / sampleRate > minimumSeconds;
    return ProgressBar(stderr, totalFrames, longInput && platform::IsTerminal(stderr));
}

void ProgressBar::Update(std::uint64_t done)
{
    if (!enabled || finished)
        return;
    const int percent = static_cast<int>(std::min<std::uint64_t>(done, total) * 100 / total);
    if (percent == shownPercent)
        return;
    shownPercent = percent;
    const int filled = percent * kWidth / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kWidth - filled), '.');
    std::fprintf(out, "\r[%s] %3d%%", bar.c_str(), percent);
    std::fflush(out);
}

void ProgressBar::Finish()
{
    if (!enabled || finished)
        return;
    Update(total);
    std::fputc('\n', out);
    std::fflush(out);
    finished = true;
}

}  // namespace vibrascend::host
