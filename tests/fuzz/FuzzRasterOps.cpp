// Throws random geometry, weights and modes at every drawing operation on
// small bitmaps (0 x 0 and 1 x 1 included). Memory around each bitmap's
// pixels, row padding included, holds a sentinel that must survive.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <memory>

#include "Arc.h"
#include "Blit.h"
#include "BlitRotated.h"
#include "FillRect.h"
#include "Line.h"
#include "PIX_MemBitmap.h"

namespace {

constexpr std::uint32_t kSentinel = 0xA5C3E1F7;

std::unique_ptr<PIX_MemBitmap> Guarded(FuzzedDataProvider& in)
{
    auto b = std::make_unique<PIX_MemBitmap>(in.ConsumeIntegralInRange(0, 9), in.ConsumeIntegralInRange(0, 9), 4);
    if (!b->GetBits())
        return b;
    std::uint32_t* bits = b->GetBits();
    for (int i = 0; i < b->AllocatedBytes() / 4; ++i)
        bits[i] = kSentinel;
    for (int y = 0; y < b->GetHeight(); ++y)
        for (int x = 0; x < b->GetWidth(); ++x)
            bits[y * b->GetRowSpan() + x] = in.ConsumeIntegral<std::uint32_t>();
    return b;
}

void CheckGuard(const PIX_MemBitmap& b)
{
    const std::uint32_t* bits = b.GetBits();
    if (!bits)
        return;
    for (int i = 0; i < b.AllocatedBytes() / 4; ++i) {
        const int y = i / b.GetRowSpan(), x = i % b.GetRowSpan();
        const bool inside = y < b.GetHeight() && x < b.GetWidth();
        if (!inside && bits[i] != kSentinel)
            std::abort();
    }
}

int Coord(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(-12, 12) : in.ConsumeIntegral<int>();
}

float Real(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeFloatingPointInRange(-12.0f, 12.0f) : in.ConsumeFloatingPoint<float>();
}

float Weight(FuzzedDataProvider& in)
{
    static const float kWeights[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.0f};
    return in.ConsumeBool() ? kWeights[in.ConsumeIntegralInRange(0, 4)] : Real(in);
}

std::uint32_t Mode(FuzzedDataProvider& in)
{
    static const std::uint32_t kModes[] = {0, 0x10000, 0x10001, 0x10002, 1, 2};
    std::uint32_t mode =
        in.ConsumeBool() ? kModes[in.ConsumeIntegralInRange(0, 5)] : in.ConsumeIntegral<std::uint32_t>();
    if (in.ConsumeBool())
        mode |= 0x100;
    return mode;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    auto dest = Guarded(in);
    auto src = Guarded(in);
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0: {
            const IBox rect{Coord(in), Coord(in), Coord(in), Coord(in)};
            pix::Blit(dest.get(), src.get(), Coord(in), Coord(in), in.ConsumeBool() ? &rect : nullptr, Weight(in),
                      Mode(in));
            break;
        }
        case 1:
            pix::Blit(dest.get(), src.get(), Coord(in), Coord(in), Coord(in), Coord(in), Coord(in), Coord(in),
                      Weight(in), Mode(in));
            break;
        case 2:
            pix::BlitRotated(dest.get(), src.get(), Coord(in), Coord(in), Coord(in), Coord(in), Real(in), Real(in),
                             Real(in), Real(in), Real(in), in.ConsumeBool(), Weight(in), Mode(in), Real(in), Real(in));
            break;
        case 3:
            pix::FillRect(dest.get(), Coord(in), Coord(in), Coord(in), Coord(in), in.ConsumeIntegral<std::uint32_t>(),
                          Weight(in), Mode(in));
            break;
        case 4:
            pix::Line(dest.get(), Coord(in), Coord(in), Coord(in), Coord(in), in.ConsumeIntegral<std::uint32_t>(),
                      Weight(in), Mode(in), in.ConsumeBool());
            break;
        case 5:
            pix::SubpixelLine(dest.get(), Real(in), Real(in), Real(in), Real(in), in.ConsumeIntegral<std::uint32_t>(),
                              Weight(in), Mode(in), in.ConsumeBool());
            break;
        case 6:
            pix::Arc(dest.get(), Real(in), Real(in), Real(in), Real(in), Real(in), in.ConsumeIntegral<std::uint32_t>(),
                     Weight(in), Mode(in), in.ConsumeBool());
            break;
        default:
            pix::FillArc(dest.get(), Real(in), Real(in), Real(in), Real(in), Real(in),
                         in.ConsumeIntegral<std::uint32_t>(), Weight(in), Mode(in), in.ConsumeBool());
            break;
        }
        CheckGuard(*dest);
        CheckGuard(*src);
    }
    return 0;
}
