#include "framework/StateChunk.h"

#include <algorithm>
#include <cstring>
#include <limits>

bool StateChunk::PutDouble(double value) { return PutBytes(&value, sizeof value); }

bool StateChunk::PutInt32(int32_t value) { return PutBytes(&value, sizeof value); }

bool StateChunk::PutText(const char* text)
{
    const size_t length = text ? std::strlen(text) : 0;
    if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max() - 4))
        return false;
    return PutInt32(static_cast<int32_t>(length)) && PutBytes(text, static_cast<int32_t>(length));
}

bool StateChunk::Fits(int32_t position, int32_t count) const
{
    return position >= 0 && int64_t{position} + count <= Size();
}

int32_t StateChunk::GetDouble(double& value, int32_t position) const
{
    if (!Fits(position, 8))
        return -1;
    std::memcpy(&value, Data() + position, 8);
    return position + 8;
}

int32_t StateChunk::GetInt32(int32_t& value, int32_t position) const
{
    if (!Fits(position, 4))
        return -1;
    std::memcpy(&value, Data() + position, 4);
    return position + 4;
}

int32_t StateChunk::GetByte(uint8_t& value, int32_t position) const
{
    if (!Fits(position, 1))
        return -1;
    value = Data()[position];
    return position + 1;
}

int32_t StateChunk::GetText(char* out, int32_t outSize, int32_t position) const
{
    if (outSize > 0)
        out[0] = '\0';
    int32_t length = 0;
    position = GetInt32(length, position);
    if (position < 0 || length < 0)
        return -1;
    if (!Fits(position, length))
        return -1;
    if (outSize > 0) {
        const int32_t copied = std::min(length, outSize - 1);
        std::memcpy(out, Data() + position, static_cast<size_t>(copied));
        out[copied] = '\0';
    }
    return position + length;
}
