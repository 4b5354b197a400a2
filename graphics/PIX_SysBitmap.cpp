#include "PIX_SysBitmap.h"

#include <cstdint>

namespace {
constexpr std::size_t kRowAlignBytes = 64;
constexpr long long kMaxBytes = 1LL << 31;  // larger back buffers count as failed allocations
}  // namespace

PIX_SysBitmap::PIX_SysBitmap(int w, int h) { Resize(w, h); }

bool PIX_SysBitmap::Resize(int w, int h) {
  if (w == width && h == height) return false;
  width = w;
  height = h;
  if (w > 0 && h > 0 && pixels && allocWidth >= w && allocHeight >= h) return true;

  pixels.reset();
  allocWidth = w > 0 ? int((static_cast<long long>(w) + 3) & ~3LL) : 0;
  allocHeight = h > 0 ? h : 0;
  if (allocWidth < 1 || allocHeight < 1) {
    // No pixels: report an empty bitmap rather than a size nothing backs.
    width = height = allocWidth = allocHeight = 0;
    return false;
  }
  const long long bytes = static_cast<long long>(allocWidth) * allocHeight * 4;
  void* memory = nullptr;
  if (bytes <= kMaxBytes && posix_memalign(&memory, kRowAlignBytes, std::size_t(bytes)) == 0)
    pixels.reset(static_cast<std::uint32_t*>(memory));
  if (!pixels) width = height = allocWidth = allocHeight = 0;
  return true;
}
