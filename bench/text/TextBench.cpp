// Speed of one knob-value text draw ("1000 Hz", Arial 15) once its glyphs
// are cached, opaque (the platform's drawing) and translucent (the glyph
// cache), next to a plain copy of the 434x480 back buffer in the same run.
// Also counts heap allocations per draw, which should be none.
#include <benchmark/benchmark.h>

#include "TableReporter.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "PIX_SysBitmap.h"
#include "TextDrawing.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Counting replacements of the global allocation functions (malloc-backed,
// so GCC's pairing check cannot see that new and delete match).
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

namespace {

constexpr int kWidth = 434, kHeight = 480;
const IBox kKnobText{100, 200, 160, 216};

struct BackBuffer {
    PIX_SysBitmap bitmap{kWidth, kHeight};
    BackBuffer()
    {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                bitmap.GetBits()[y * bitmap.GetRowSpan() + x] = 0xFF202830u + std::uint32_t((x ^ y) & 15);
    }
};

void BackBufferCopy434x480(benchmark::State& state)
{
    BackBuffer source, target;
    const std::size_t bytes = std::size_t(source.bitmap.GetRowSpan()) * kHeight * 4;
    for (auto _ : state) {
        std::memcpy(target.bitmap.GetBits(), source.bitmap.GetBits(), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BackBufferCopy434x480);

void KnobText(benchmark::State& state, int alpha)
{
    BackBuffer back;
    ITextStyle style("Arial", 15, IArgb{alpha, 230, 230, 230});
    pix::DrawText(back.bitmap, style, "1000 Hz", kKnobText);  // renders and caches the glyphs
    const long before = allocations.load();
    for (auto _ : state) {
        pix::DrawText(back.bitmap, style, "1000 Hz", kKnobText);
        benchmark::ClobberMemory();
    }
    state.counters["allocs_per_draw"] =
        double(allocations.load() - before) / double(state.iterations() > 0 ? state.iterations() : 1);
}

void KnobTextOpaque(benchmark::State& state) { KnobText(state, 255); }
void KnobTextTranslucent(benchmark::State& state) { KnobText(state, 200); }
BENCHMARK(KnobTextOpaque);
BENCHMARK(KnobTextTranslucent);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto copy = reporter.ns.find("BackBufferCopy434x480");
    if (copy != reporter.ns.end() && copy->second > 0) {
        std::printf("\n%-24s %12s %14s\n", "case", "ns", "x back-buffer copy");
        for (const char* name : {"BackBufferCopy434x480", "KnobTextOpaque", "KnobTextTranslucent"}) {
            const auto found = reporter.ns.find(name);
            if (found != reporter.ns.end())
                std::printf("%-24s %12.1f %14.3f\n", name, found->second, found->second / copy->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}
