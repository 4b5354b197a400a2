// System bitmap pixels on Linux: aligned heap memory; the X presenter copies from it.
#include "../SysBitmapStorage.h"

#include <cstdlib>

namespace platform {

namespace {
constexpr std::size_t kRowAlignBytes = 64;
}  // namespace

struct SysBitmapStorage::Native {
    struct FreeDeleter {
        void operator()(std::uint32_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint32_t, FreeDeleter> pixels;
};

SysBitmapStorage::SysBitmapStorage() : native(std::make_unique<Native>()) {}

SysBitmapStorage::~SysBitmapStorage() = default;

bool SysBitmapStorage::Usable() const { return true; }

std::uint32_t* SysBitmapStorage::Allocate(int width, int height)
{
    Release();
    if (width < 1 || height < 1)
        return nullptr;
    void* memory = nullptr;
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    if (posix_memalign(&memory, kRowAlignBytes, bytes) != 0)
        return nullptr;
    native->pixels.reset(static_cast<std::uint32_t*>(memory));
    return native->pixels.get();
}

void SysBitmapStorage::Release() { native->pixels.reset(); }

void* SysBitmapStorage::Context() const { return nullptr; }

}  // namespace platform
