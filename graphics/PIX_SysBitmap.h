// PIX_SysBitmap: the editor's back buffer, a top-row-first pixel array the
// window layer hands to the display server. Rows are contiguous, start on a
// 64-byte boundary and span a multiple of 4 pixels; shrinking keeps the
// allocation. There is no device context on this platform.
#pragma once

#include <cstdlib>
#include <memory>

#include "PIX_IBitmap.h"

class PIX_SysBitmap final : public PIX_IBitmap {
 public:
  PIX_SysBitmap(int width, int height);

  std::uint32_t* GetBits() const override { return pixels.get(); }
  int GetWidth() const override { return width; }
  int GetHeight() const override { return height; }
  int GetRowSpan() const override { return allocWidth; }
  bool Resize(int width, int height) override;

  int AllocatedHeight() const { return allocHeight; }

 private:
  struct FreeDeleter {
    void operator()(std::uint32_t* p) const { std::free(p); }
  };

  int width = 0;
  int height = 0;
  std::unique_ptr<std::uint32_t, FreeDeleter> pixels;
  int allocWidth = 0;   // row span in pixels, a multiple of 4
  int allocHeight = 0;
};
