// Cost of making plug-in instances: the first instance of the process, later ones, and the first
// editor view of an instance (which builds the editor; the images are decoded once per process,
// so the first view of the process is dearer than later ones). Figures in milliseconds, the
// later-instance figure as the median of many.
#include "effect/vst3/VibrascendVst3.h"

#include "pluginterfaces/gui/iplugview.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Milliseconds to create an instance; the instance is handed back in `made`.
double TimeCreation(VibrascendVst3*& made)
{
    const Clock::time_point start = Clock::now();
    made = new VibrascendVst3;
    return MillisecondsSince(start);
}

// Milliseconds of createView("editor") on a fresh instance.
double TimeFirstView(VibrascendVst3& effect)
{
    const Clock::time_point start = Clock::now();
    Steinberg::IPlugView* view = effect.createView("editor");
    const double ms = MillisecondsSince(start);
    if (view)
        view->release();
    return ms;
}

}  // namespace

int main()
{
    constexpr int kLaterInstances = 200;
    constexpr int kLaterViews = 50;

    VibrascendVst3* first = nullptr;
    const double firstMs = TimeCreation(first);

    std::vector<double> later;
    for (int i = 0; i < kLaterInstances; ++i) {
        VibrascendVst3* effect = nullptr;
        later.push_back(TimeCreation(effect));
        effect->release();
    }

    const double firstViewMs = TimeFirstView(*first);
    first->release();

    std::vector<double> laterViews;
    for (int i = 0; i < kLaterViews; ++i) {
        VibrascendVst3* effect = nullptr;
        TimeCreation(effect);
        laterViews.push_back(TimeFirstView(*effect));
        effect->release();
    }

    std::printf("%-48s %10s\n", "instance creation", "ms");
    std::printf("%-48s %10.3f\n", "first instance of the process", firstMs);
    std::printf("%-48s %10.3f\n", "later instance (median)", Median(later));
    std::printf("%-48s %10.3f\n", "later instance (slowest)", *std::max_element(later.begin(), later.end()));
    std::printf("%-48s %10.3f\n", "first createView of the process", firstViewMs);
    std::printf("%-48s %10.3f\n", "first createView of a later instance (median)", Median(laterViews));
    return 0;
}
