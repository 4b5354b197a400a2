// Little-endian byte stream for parameter state and presets. Reads that do not fit answer
// position -1.
#pragma once

#include "framework/GrowBuf.h"

#include <cstdint>

class StateChunk {
public:
    StateChunk() : buf(4096) {}

    const uint8_t* Data() const { return static_cast<const uint8_t*>(buf.Data()); }
    int32_t Size() const { return buf.Size(); }
    bool Resize(int32_t size) { return buf.Resize(size, true); }
    void Clear() { buf.Resize(0, true); }

    bool PutBytes(const void* bytes, int32_t count) { return buf.Append(bytes, count); }
    bool PutDouble(double value);
    bool PutInt32(int32_t value);
    // An int32 length followed by the text's bytes, without terminator.
    bool PutText(const char* text);

    int32_t GetDouble(double& value, int32_t position) const;
    int32_t GetInt32(int32_t& value, int32_t position) const;
    int32_t GetByte(uint8_t& value, int32_t position) const;
    // Reads a length-prefixed text into `out` (capacity `outSize`, always terminated, cut to fit).
    // A missing length, a negative one or one longer than the bytes left yields an empty text
    // and position -1.
    int32_t GetText(char* out, int32_t outSize, int32_t position) const;

private:
    bool Fits(int32_t position, int32_t count) const;

    GrowBuf buf;
};
