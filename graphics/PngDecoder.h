// PNG decoding into raster bitmaps: from memory, or from an image embedded
// in a module under the resource type "PNG" and an integer id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "PIX_IBitmap.h"
#include "PIX_MemBitmap.h"

namespace pix {

// Largest image accepted, per side and in pixels; larger declared sizes are
// refused before any pixel memory is allocated.
constexpr std::uint32_t kMaxPngSide = 16384;
constexpr std::uint64_t kMaxPngPixels = 16u * 1024 * 1024;

// Decodes into a new bitmap (row alignment 4); null on any error.
std::unique_ptr<PIX_MemBitmap> DecodePngData(const std::uint8_t* data, std::size_t size);

// Decodes into destination, resized to the image; answers &destination, or
// null on any error (destination then holds unspecified pixels).
PIX_IBitmap* DecodePngData(const std::uint8_t* data, std::size_t size, PIX_IBitmap& destination);

// The same for the image stored in module under type "PNG" and the low 16
// bits of resourceId; null when there is none.
std::unique_ptr<PIX_MemBitmap> DecodePngResource(const void* module, int resourceId);
PIX_IBitmap* DecodePngResource(const void* module, int resourceId, PIX_IBitmap& destination);

}  // namespace pix
