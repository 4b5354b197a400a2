// The raster mode word shared by blits, fills, lines and arcs:
// bits 0-7 the blend operation, bits 8-15 the filter, bit 16 use-alpha.
#pragma once

#include <cstdint>

namespace pix {

constexpr std::uint32_t kOpCopy = 0;
constexpr std::uint32_t kOpAdd = 1;
constexpr std::uint32_t kOpDodge = 2;
constexpr std::uint32_t kOpMask = 0xFF;

constexpr std::uint32_t kFilterBilinear = 0x100;
constexpr std::uint32_t kFilterMask = 0xFF00;

constexpr std::uint32_t kUseAlpha = 0x10000;

inline std::uint32_t OperationOf(std::uint32_t mode) { return mode & kOpMask; }
inline bool UsesAlpha(std::uint32_t mode) { return (mode & kUseAlpha) != 0; }
inline bool IsBilinear(std::uint32_t mode) { return (mode & kFilterMask) == kFilterBilinear; }

}  // namespace pix
