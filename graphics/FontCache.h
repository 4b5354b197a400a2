// FontCache: the process-wide list of fonts, one per distinct face name,
// size, style bits and orientation, shared by every editor of the process
// and destroyed when the library is unloaded. Lookups and insertions are
// serialised by one lock.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ITextStyle.h"
#include "PIX_CachedFont.h"
#include "platform/RecursiveLock.h"

class FontCache {
public:
    // The cache of this process.
    static FontCache& Process();

    // The font for the style's key, made on first request; null when the
    // platform refuses the face, size or quality (nothing is cached then).
    PIX_IFont* FindOrCreate(const ITextStyle& style);
    std::size_t Count() const;

private:
    struct Entry {
        int size;
        int orientation;
        int style;
        std::string face;
        std::unique_ptr<PIX_CachedFont> font;
    };

    mutable platform::RecursiveLock lock;
    std::vector<Entry> entries;
};
