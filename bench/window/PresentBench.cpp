// Presenting the editor's back buffer on the X server: a knob-sized dirty rectangle and the
// whole 434x480 window, through the connection (XPutImage) and through shared memory, each
// frame waited for until the server has drawn it. Needs a display (for example Xvfb).
#include "graphics/PIX_SysBitmap.h"
#include "platform/linux/x11/X11EditorWindow.h"
#include "tools/hostkit/x11/X11HostWindow.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kWidth = 434;
constexpr int kHeight = 480;
constexpr IBox kKnob{40, 40, 112, 112};  // a 72 x 72 knob with its value text
constexpr IBox kWhole{0, 0, kWidth, kHeight};

void Present(benchmark::State& state, bool shared, const IBox& rect)
{
    std::unique_ptr<X11HostWindow> host = X11HostWindow::Open("present benchmark", kWidth, kHeight);
    if (!host) {
        state.SkipWithError("no X display");
        return;
    }
    std::unique_ptr<X11EditorWindow> window = X11EditorWindow::Open(host->Id(), 0, 0, kWidth, kHeight);
    if (!window || !window->UseSharedMemory(shared)) {
        state.SkipWithError(shared ? "no shared memory on this display" : "no window");
        return;
    }
    PIX_SysBitmap buffer(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            buffer.GetBits()[y * buffer.GetRowSpan() + x] =
                0xFF000000u | static_cast<unsigned>(x * 0x10203 + y * 0x30201);
    for (auto _ : state) {
        window->Present(buffer, rect);
        window->Sync();
    }
    state.SetLabel(window->PresentMethod());
}

}  // namespace

BENCHMARK_CAPTURE(Present, KnobPutImage, false, kKnob)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Present, KnobSharedMemory, true, kKnob)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Present, WindowPutImage, false, kWhole)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Present, WindowSharedMemory, true, kWhole)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
