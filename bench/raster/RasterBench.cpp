// Raster layer speed next to pixman doing the nearest equivalent operation
// on the same pixels. Prints Google Benchmark's figures, then a table of ns
// per call and the ratio ours / pixman for each case.
#include <benchmark/benchmark.h>

#include "TableReporter.h"
#include <pixman.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Arc.h"
#include "Blit.h"
#include "BlitRotated.h"
#include "EmbeddedResources.h"
#include "FillRect.h"
#include "Line.h"
#include "PIX_SysBitmap.h"
#include "PngDecoder.h"

namespace {

constexpr int kWidth = 434, kHeight = 480;
constexpr float kAngle = 0.7f;

// The editor's knob (its own image when embedded, else a made-up one) and
// a back buffer with a background, as ours and as pixman images.
struct Scene {
    std::unique_ptr<PIX_MemBitmap> knob;
    std::unique_ptr<PIX_MemBitmap> background;
    PIX_SysBitmap back{kWidth, kHeight};
    std::vector<std::uint32_t> knobPremultiplied;
    pixman_image_t* pmKnob = nullptr;
    pixman_image_t* pmBackground = nullptr;
    pixman_image_t* pmBack = nullptr;

    Scene()
    {
        knob = pix::DecodePngResource(platform::ThisModule(), 101);
        if (!knob || knob->GetWidth() != 57) {
            knob = std::make_unique<PIX_MemBitmap>(57, 57, 4);
            for (int y = 0; y < 57; ++y)
                for (int x = 0; x < 57; ++x) {
                    const float r = std::hypot(x - 28.0f, y - 28.0f);
                    const std::uint32_t a = r < 26 ? 255 : r < 28 ? std::uint32_t((28 - r) * 127) : 0;
                    knob->GetBits()[y * knob->GetRowSpan() + x] = a << 24 | 0x406080 | std::uint32_t(x * 4);
                }
        }
        background = std::make_unique<PIX_MemBitmap>(kWidth, kHeight, 4);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                background->GetBits()[y * background->GetRowSpan() + x] = 0xFF000000u | std::uint32_t(x * 131 + y * 7);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                back.GetBits()[y * back.GetRowSpan() + x] = background->GetBits()[y * background->GetRowSpan() + x];
        const int ks = knob->GetRowSpan();
        knobPremultiplied.resize(std::size_t(ks) * 57);
        for (int i = 0; i < ks * 57; ++i) {
            const std::uint32_t p = knob->GetBits()[i], a = p >> 24;
            const auto mul = [&](int s) { return ((p >> s & 0xFF) * a + 127) / 255 << s; };
            knobPremultiplied[std::size_t(i)] = a << 24 | mul(16) | mul(8) | mul(0);
        }
        pmKnob = pixman_image_create_bits(PIXMAN_a8r8g8b8, 57, 57, knobPremultiplied.data(), ks * 4);
        pmBackground = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, background->GetBits(),
                                                background->GetRowSpan() * 4);
        pmBack = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, back.GetBits(), back.GetRowSpan() * 4);
    }
    ~Scene()
    {
        pixman_image_unref(pmKnob);
        pixman_image_unref(pmBackground);
        pixman_image_unref(pmBack);
    }
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

void Ours_AlphaBlit57(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state)
        pix::Blit(&s.back, s.knob.get(), 100, 100, nullptr, 1.0f, 0x10000);
}
void Pixman_AlphaBlit57(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, s.pmKnob, nullptr, s.pmBack, 0, 0, 0, 0, 100, 100, 57, 57);
}

void Ours_RotatedBilinear57(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state)
        pix::BlitRotated(&s.back, s.knob.get(), 100, 100, 57, 57, 0, 0, 57, 57, kAngle, false, 1.0f, 0x10100, 0, 0);
}
void Pixman_RotatedBilinear57(benchmark::State& state)
{
    Scene& s = TheScene();
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    pixman_transform_translate(&t, nullptr, pixman_double_to_fixed(-28.5), pixman_double_to_fixed(-28.5));
    pixman_transform_rotate(&t, nullptr, pixman_double_to_fixed(std::cos(kAngle)),
                            pixman_double_to_fixed(std::sin(kAngle)));
    pixman_transform_translate(&t, nullptr, pixman_double_to_fixed(28.5), pixman_double_to_fixed(28.5));
    pixman_image_set_transform(s.pmKnob, &t);
    pixman_image_set_filter(s.pmKnob, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, s.pmKnob, nullptr, s.pmBack, 0, 0, 0, 0, 100, 100, 57, 57);
    pixman_image_set_transform(s.pmKnob, nullptr);
    pixman_image_set_filter(s.pmKnob, PIXMAN_FILTER_NEAREST, nullptr, 0);
}

void Ours_OpaqueCopy434x480(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state)
        pix::Blit(&s.back, s.background.get(), 0, 0, nullptr, 1.0f, 0);
}
void Pixman_OpaqueCopy434x480(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_SRC, s.pmBackground, nullptr, s.pmBack, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
}

constexpr std::uint32_t kFillColour = 0x64305070;  // alpha 100
void Ours_AlphaFill160x6(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state)
        pix::FillRect(&s.back, 50, 200, 160, 6, kFillColour, 1.0f, 0x10000);
}
void Pixman_AlphaFill160x6(benchmark::State& state)
{
    Scene& s = TheScene();
    const pixman_color_t colour{0x30 * 100 / 255 * 257, 0x50 * 100 / 255 * 257, 0x70 * 100 / 255 * 257, 100 * 257};
    const pixman_rectangle16_t rect{50, 200, 160, 6};
    for (auto _ : state)
        pixman_image_fill_rectangles(PIXMAN_OP_OVER, s.pmBack, &colour, 1, &rect);
}

// The pop-up panel: an anti-aliased rounded rectangle, filled then framed,
// drawn from fills, sectors, lines and arcs as the graphics core does.
constexpr int kL = 20, kT = 30, kR = 90, kB = 114, kRadius = 6;
constexpr float kPi = 3.14159265f;
constexpr std::uint32_t kPanel = 0xF5323232, kFrame = 0x4BC8C8C8;

void Ours_RoundRect70x84(benchmark::State& state)
{
    Scene& s = TheScene();
    const int r = kRadius, w = kR - kL;
    const float panelAlpha = 245 / 255.0f, frameAlpha = 75 / 255.0f;
    for (auto _ : state) {
        pix::FillRect(&s.back, kL, kT + r + 1, w, (kB - kT) - 2 * r - 2, kPanel, 1.0f, 0x10000);
        pix::FillRect(&s.back, kL + r + 1, kT, w - 2 * r - 2, r + 1, kPanel, 1.0f, 0x10000);
        pix::FillRect(&s.back, kL + r + 1, kB - r - 1, w - 2 * r - 2, r + 1, kPanel, 1.0f, 0x10000);
        pix::FillArc(&s.back, kL + r, kT + r, r, -kPi / 2, 0, kPanel, panelAlpha, 0x10000, true);
        pix::FillArc(&s.back, kR - r - 1, kT + r, r, 0, kPi / 2, kPanel, panelAlpha, 0x10000, true);
        pix::FillArc(&s.back, kR - r - 1, kB - r - 1, r, kPi / 2, kPi, kPanel, panelAlpha, 0x10000, true);
        pix::FillArc(&s.back, kL + r, kB - r - 1, r, kPi, 3 * kPi / 2, kPanel, panelAlpha, 0x10000, true);
        const int R = kR - 1, B = kB - 1;
        pix::SubpixelLine(&s.back, kL + r + 1, kT, R - r - 1, kT, kFrame, frameAlpha, 0x10000, true);
        pix::SubpixelLine(&s.back, R, kT + r + 1, R, B - r - 1, kFrame, frameAlpha, 0x10000, true);
        pix::SubpixelLine(&s.back, kL + r + 1, B, R - r - 1, B, kFrame, frameAlpha, 0x10000, true);
        pix::SubpixelLine(&s.back, kL, kT + r + 1, kL, B - r - 1, kFrame, frameAlpha, 0x10000, true);
        pix::Arc(&s.back, kL + r, kT + r, r, -kPi / 2, 0, kFrame, frameAlpha, 0x10000, true);
        pix::Arc(&s.back, R - r, kT + r, r, 0, kPi / 2, kFrame, frameAlpha, 0x10000, true);
        pix::Arc(&s.back, R - r, B - r, r, kPi / 2, kPi, kFrame, frameAlpha, 0x10000, true);
        pix::Arc(&s.back, kL + r, B - r, r, kPi, 3 * kPi / 2, kFrame, frameAlpha, 0x10000, true);
    }
}

// Points around a rounded rectangle, eight segments per corner.
std::vector<pixman_point_fixed_t> RoundedOutline(double l, double t, double r, double b, double radius)
{
    std::vector<pixman_point_fixed_t> points;
    const double cx[] = {r - radius, r - radius, l + radius, l + radius};
    const double cy[] = {t + radius, b - radius, b - radius, t + radius};
    for (int corner = 0; corner < 4; ++corner)
        for (int k = 0; k <= 8; ++k) {
            const double a = (corner - 1) * M_PI / 2 + k * M_PI / 16;
            points.push_back({pixman_double_to_fixed(cx[corner] + radius * std::cos(a)),
                              pixman_double_to_fixed(cy[corner] + radius * std::sin(a))});
        }
    return points;
}

void Pixman_RoundRect70x84(benchmark::State& state)
{
    Scene& s = TheScene();
    const auto outer = RoundedOutline(kL, kT, kR, kB, kRadius);
    const auto inner = RoundedOutline(kL + 1, kT + 1, kR - 1, kB - 1, kRadius - 1);
    std::vector<pixman_triangle_t> fill, frame;
    const pixman_point_fixed_t centre{pixman_double_to_fixed((kL + kR) / 2.0), pixman_double_to_fixed((kT + kB) / 2.0)};
    for (std::size_t i = 0; i < outer.size(); ++i) {
        const std::size_t j = (i + 1) % outer.size();
        fill.push_back({centre, outer[i], outer[j]});
        frame.push_back({outer[i], outer[j], inner[i]});
        frame.push_back({inner[i], outer[j], inner[j]});
    }
    const pixman_color_t panel{50 * 245 / 255 * 257, 50 * 245 / 255 * 257, 50 * 245 / 255 * 257, 245 * 257};
    const pixman_color_t edge{200 * 75 / 255 * 257, 200 * 75 / 255 * 257, 200 * 75 / 255 * 257, 75 * 257};
    pixman_image_t* panelSrc = pixman_image_create_solid_fill(&panel);
    pixman_image_t* edgeSrc = pixman_image_create_solid_fill(&edge);
    for (auto _ : state) {
        pixman_composite_triangles(PIXMAN_OP_OVER, panelSrc, s.pmBack, PIXMAN_a8, 0, 0, 0, 0, int(fill.size()),
                                   fill.data());
        pixman_composite_triangles(PIXMAN_OP_OVER, edgeSrc, s.pmBack, PIXMAN_a8, 0, 0, 0, 0, int(frame.size()),
                                   frame.data());
    }
    pixman_image_unref(panelSrc);
    pixman_image_unref(edgeSrc);
}

BENCHMARK(Ours_AlphaBlit57);
BENCHMARK(Pixman_AlphaBlit57);
BENCHMARK(Ours_RotatedBilinear57);
BENCHMARK(Pixman_RotatedBilinear57);
BENCHMARK(Ours_OpaqueCopy434x480);
BENCHMARK(Pixman_OpaqueCopy434x480);
BENCHMARK(Ours_AlphaFill160x6);
BENCHMARK(Pixman_AlphaFill160x6);
BENCHMARK(Ours_RoundRect70x84);
BENCHMARK(Pixman_RoundRect70x84);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-22s %12s %12s %8s\n", "case", "ours ns", "pixman ns", "ratio");
    for (const char* name :
         {"AlphaBlit57", "RotatedBilinear57", "OpaqueCopy434x480", "AlphaFill160x6", "RoundRect70x84"}) {
        const auto ours = reporter.ns.find(std::string("Ours_") + name);
        const auto theirs = reporter.ns.find(std::string("Pixman_") + name);
        if (ours == reporter.ns.end() || theirs == reporter.ns.end())
            continue;
        std::printf("%-22s %12.1f %12.1f %8.2f\n", name, ours->second, theirs->second, ours->second / theirs->second);
    }
    benchmark::Shutdown();
    return 0;
}
