// Growable byte buffer with a reallocation policy that avoids churn: the basis of the
// framework's lists, texts and state streams.
#pragma once

#include <cstdint>

class GrowBuf {
public:
    explicit GrowBuf(int32_t granularity = 0);
    ~GrowBuf();
    GrowBuf(const GrowBuf&) = delete;
    GrowBuf& operator=(const GrowBuf&) = delete;
    GrowBuf(GrowBuf&& other) noexcept;
    GrowBuf& operator=(GrowBuf&& other) noexcept;

    // Null while the used size is 0.
    void* Data() const { return size > 0 ? data : nullptr; }
    int32_t Size() const { return size; }
    int32_t Allocated() const { return allocated; }
    int32_t Granularity() const { return granularity; }

    // Sets the used size (negative counts as 0). Answers false, keeping the old contents and
    // size, when memory cannot be obtained.
    bool Resize(int32_t newSize, bool allowShrink = true);
    // Appends `count` bytes; `bytes` may point into this buffer.
    bool Append(const void* bytes, int32_t count);

private:
    static int64_t AllocationFor(int64_t newSize, int32_t granularity);

    uint8_t* data = nullptr;
    int32_t allocated = 0;
    int32_t size = 0;
    int32_t granularity;
};
