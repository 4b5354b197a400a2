#include "effect/LfoBar.h"

#include "effect/Quantise.h"

namespace {

constexpr float kPixelsPerGain = 80.213806f;

}  // namespace

IBox LfoBarRect(const IBox& area, const LfoSweptRange& range, const IBox& shown)
{
    if (!range.sweeping)
        return IBox{shown.L, shown.T, shown.L, shown.T};
    return IBox{NearestInt(range.low * kPixelsPerGain) + area.L, area.T,
                NearestInt(range.high * kPixelsPerGain) + area.L, area.B};
}
