// One zero-terminated single-byte text in a GrowBuf of granularity 128.
#pragma once

#include "framework/GrowBuf.h"

class TextBuf {
public:
    TextBuf() : buf(128) {}
    explicit TextBuf(const char* text) : buf(128) { Set(text); }

    // Never null: an unset text reads as "".
    const char* Get() const;
    // Copies at most `maxLength` bytes of `text` (all of it when negative); `text` may lie inside
    // this buffer.
    bool Set(const char* text, int maxLength = -1);
    int Length() const;

private:
    GrowBuf buf;
};
