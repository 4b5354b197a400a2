// Feeds arbitrary bytes to the PNG decoder, into a new bitmap and into an
// existing one; every answer must be null or a bitmap of the declared size.
#include <cstdlib>

#include "PIX_SysBitmap.h"
#include "PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto bitmap = pix::DecodePngData(data, size);
    if (bitmap && (bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0 || !bitmap->GetBits()))
        std::abort();
    PIX_SysBitmap destination(3, 3);
    PIX_IBitmap* into = pix::DecodePngData(data, size, destination);
    if (into && (into != &destination || !bitmap || into->GetWidth() != bitmap->GetWidth()))
        std::abort();
    return 0;
}
