// Speed of the editor's frames in the back buffer: the whole editor redrawn, one knob redrawn
// after its value changed (value text included), and one cached knob-value text draw, each next
// to a plain copy of the 434x480 back buffer in the same run. Counts heap allocations per frame
// once the glyphs are cached, which should be none.
#include <benchmark/benchmark.h>

#include "TableReporter.h"

#include "controls/IControl.h"
#include "effect/vst3/VibrascendVst3.h"
#include "controls/IGraphics.h"
#include "graphics/PIX_BitmapView.h"
#include "graphics/PIX_SysBitmap.h"
#include "graphics/TextDrawing.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<long> allocations{0};

}  // namespace

#if !defined(VIBRASCEND_SANITIZED)
// Counting replacements of the global allocation functions (malloc-backed, so GCC's pairing
// check cannot see that new and delete match).
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace {

constexpr int kWidth = 434, kHeight = 480;
// The "Low Gain" knob and the box of its value text.
constexpr int kKnobX = 217, kKnobY = 403;
const IBox kKnobText{188, 437, 246, 452};

struct EffectRelease {
    void operator()(VibrascendVst3* effect) const { effect->release(); }
};

// The effect with its editor drawn once, so that images and glyphs are cached.
struct Editor {
    std::unique_ptr<VibrascendVst3, EffectRelease> effect{new VibrascendVst3};
    IGraphics& graphics = *static_cast<IGraphics*>(effect->EnsureEditor());
    Editor()
    {
        for (int i = 0; i < CLS_VIBRASCEND::kNumParams; ++i)
            effect->ParamChanged(i);
        graphics.UpdateFromHost();
        graphics.Draw(IBox{0, 0, kWidth, kHeight});
    }
};

void SetAllocationCounter(benchmark::State& state, long before)
{
#if defined(VIBRASCEND_SANITIZED)
    (void)before;
    state.counters["allocs_per_frame"] = -1;  // not counted: the sanitizers own the allocator
#else
    state.counters["allocs_per_frame"] =
        double(allocations.load() - before) / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
#endif
}

void BackBufferCopy434x480(benchmark::State& state)
{
    Editor editor;
    const PIX_SysBitmap& back = *editor.graphics.BackBuffer();
    std::vector<std::uint32_t> target(size_t(back.GetRowSpan()) * kHeight);
    for (auto _ : state) {
        std::memcpy(target.data(), back.GetBits(), target.size() * sizeof(std::uint32_t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BackBufferCopy434x480);

void FullRedraw(benchmark::State& state)
{
    Editor editor;
    const long before = allocations.load();
    for (auto _ : state) {
        editor.graphics.Draw(IBox{0, 0, kWidth, kHeight});
        benchmark::ClobberMemory();
    }
    SetAllocationCounter(state, before);
}
BENCHMARK(FullRedraw);

// The host moves "Low Gain" between two values; each frame redraws what became dirty.
void KnobDirtyRedraw(benchmark::State& state)
{
    Editor editor;
    IControl* knob = editor.graphics.GetControl(editor.graphics.FindControlAt(kKnobX, kKnobY));
    const double values[2] = {0.25, 0.75};
    for (double v : values) {  // both value texts' glyphs cached
        knob->SetValueFromParam(v);
        IBox dirty;
        editor.graphics.IsDirty(dirty);
        editor.graphics.Draw(dirty);
    }
    long frame = 0, area = 0;
    const long before = allocations.load();
    for (auto _ : state) {
        knob->SetValueFromParam(values[frame++ & 1]);
        IBox dirty{};
        if (!editor.graphics.IsDirty(dirty))
            state.SkipWithError("the knob did not become dirty");
        area = long(dirty.R - dirty.L) * (dirty.B - dirty.T);
        editor.graphics.Draw(dirty);
        benchmark::ClobberMemory();
    }
    SetAllocationCounter(state, before);
    state.counters["dirty_pixels"] = double(area);
}
BENCHMARK(KnobDirtyRedraw);

// What the knob's Draw does for its value text: the knob-value style into the back buffer,
// clipped to the knob's text box.
void CachedKnobValueText(benchmark::State& state)
{
    Editor editor;
    PIX_SysBitmap back(kWidth, kHeight);
    PIX_BitmapView view(back, kKnobText);
    ITextStyle style("Arial", 15, IArgb{200, 255, 255, 255}, 0, ITextStyle::kAlignLeft);
    const IBox placed{0, 0, kKnobText.R - kKnobText.L, kKnobText.B - kKnobText.T};
    pix::DrawText(view, style, "1000Hz", placed);
    const long before = allocations.load();
    for (auto _ : state) {
        pix::DrawText(view, style, "1000Hz", placed);
        benchmark::ClobberMemory();
    }
    SetAllocationCounter(state, before);
}
BENCHMARK(CachedKnobValueText);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto copy = reporter.ns.find("BackBufferCopy434x480");
    if (copy != reporter.ns.end() && copy->second > 0) {
        std::printf("\n%-24s %12s %20s\n", "case", "median us", "x back-buffer copy");
        for (const char* name : {"BackBufferCopy434x480", "FullRedraw", "KnobDirtyRedraw", "CachedKnobValueText"}) {
            const auto found = reporter.ns.find(name);
            if (found != reporter.ns.end())
                std::printf("%-24s %12.3f %20.3f\n", name, found->second / 1000.0, found->second / copy->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}
