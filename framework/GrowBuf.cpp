#include "framework/GrowBuf.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

GrowBuf::GrowBuf(int32_t granularity) : granularity(std::max(granularity, 0)) {}

GrowBuf::~GrowBuf() { std::free(data); }

GrowBuf::GrowBuf(GrowBuf&& other) noexcept
    : data(std::exchange(other.data, nullptr)), allocated(std::exchange(other.allocated, 0)),
      size(std::exchange(other.size, 0)), granularity(other.granularity)
{
}

GrowBuf& GrowBuf::operator=(GrowBuf&& other) noexcept
{
    if (this != &other) {
        std::free(data);
        data = std::exchange(other.data, nullptr);
        allocated = std::exchange(other.allocated, 0);
        size = std::exchange(other.size, 0);
        granularity = other.granularity;
    }
    return *this;
}

int64_t GrowBuf::AllocationFor(int64_t newSize, int32_t granularity)
{
    int64_t extra = std::max<int64_t>(newSize / 2, granularity);
    if (granularity >= 4096) {
        extra = std::clamp<int64_t>(extra / 4096 * 4096, 4096, int64_t{4} << 20);
        return (newSize + extra + 96) / 4096 * 4096 - 96;
    }
    return newSize + extra;
}

bool GrowBuf::Resize(int32_t newSize, bool allowShrink)
{
    newSize = std::max(newSize, 0);
    if (newSize == 0 && allowShrink) {
        std::free(data);
        data = nullptr;
        allocated = 0;
        size = 0;
        return true;
    }
    const int64_t shrinkBelow =
        std::max<int64_t>(1, std::min<int64_t>(allocated / 2, int64_t{allocated} - 4 * int64_t{granularity}));
    const bool grow = newSize > allocated;
    const bool shrink = allowShrink && newSize < size && newSize < shrinkBelow;
    if (grow || shrink) {
        const int64_t want = AllocationFor(newSize, granularity);
        if (want > std::numeric_limits<int32_t>::max() || want < newSize)
            return false;
        auto* fresh = static_cast<uint8_t*>(std::realloc(data, static_cast<size_t>(want)));
        if (!fresh)
            return false;
        data = fresh;
        allocated = static_cast<int32_t>(want);
    }
    size = newSize;
    return true;
}

bool GrowBuf::Append(const void* bytes, int32_t count)
{
    if (count <= 0)
        return true;
    if (int64_t{size} + count > std::numeric_limits<int32_t>::max())
        return false;
    // The source may lie inside this buffer, which Resize can move.
    const auto* src = static_cast<const uint8_t*>(bytes);
    const bool inside = data && src >= data && src < data + allocated;
    const std::ptrdiff_t offset = inside ? src - data : 0;
    const int32_t at = size;
    if (!Resize(size + count, false))
        return false;
    std::memmove(data + at, inside ? data + offset : src, static_cast<size_t>(count));
    return true;
}
