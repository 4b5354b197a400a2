// Pixel storage of the system bitmap (the editor's back buffer): a 32-bit, top-row-first array
// that the window system can copy to a window directly. On Windows it is a DIB section selected
// into a memory device context; elsewhere aligned heap memory without a device context.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

class SysBitmapStorage {
public:
    // Makes the device context where the platform has one.
    SysBitmapStorage();
    // Releases the pixels, then the device context.
    ~SysBitmapStorage();
    SysBitmapStorage(const SysBitmapStorage&) = delete;
    SysBitmapStorage& operator=(const SysBitmapStorage&) = delete;

    // False when the device context could not be made; no pixels can be allocated then.
    bool Usable() const;
    // Releases the current pixels and allocates width x height pixels, rows contiguous and
    // starting on a 64-byte boundary. Null on failure (nothing is held then).
    std::uint32_t* Allocate(int width, int height);
    void Release();
    // The native device context holding the pixels, or null where there is none.
    void* Context() const;

private:
    struct Native;
    std::unique_ptr<Native> native;
};

}  // namespace platform
