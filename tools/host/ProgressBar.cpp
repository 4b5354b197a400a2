#include "ProgressBar.h"

#include <algorithm>
#include <string>

#include "platform/Files.h"

namespace vibrascend::host {

namespace {
constexpr int kWidth = 40;
}

ProgressBar::ProgressBar(std::FILE* out, std::uint64_t total, bool enabled)
    : out_(out), total_(total), enabled_(enabled && out != nullptr && total > 0) {}

ProgressBar ProgressBar::ForStandardError(std::uint64_t totalFrames, double sampleRate, double minimumSeconds) {
    const bool longInput = sampleRate > 0 && static_cast<double>(totalFrames) / sampleRate > minimumSeconds;
    return ProgressBar(stderr, totalFrames, longInput && platform::IsTerminal(stderr));
}

void ProgressBar::Update(std::uint64_t done) {
    if (!enabled_ || finished_) return;
    const int percent = static_cast<int>(std::min<std::uint64_t>(done, total_) * 100 / total_);
    if (percent == shownPercent_) return;
    shownPercent_ = percent;
    const int filled = percent * kWidth / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') + std::string(static_cast<std::size_t>(kWidth - filled), '.');
    std::fprintf(out_, "\r[%s] %3d%%", bar.c_str(), percent);
    std::fflush(out_);
}

void ProgressBar::Finish() {
    if (!enabled_ || finished_) return;
    Update(total_);
    std::fputc('\n', out_);
    std::fflush(out_);
    finished_ = true;
}

}  // namespace vibrascend::host
