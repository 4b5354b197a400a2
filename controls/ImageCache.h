// ImageCache: the process-wide store of decoded editor images, keyed by resource id. Every editor
// instance shares it; images live until the library is unloaded, so the IImage handles that
// controls keep never dangle while a graphics object exists.
#pragma once

#include "graphics/PIX_IBitmap.h"
#include "platform/RecursiveLock.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class ImageCache {
public:
    // The one cache of the process.
    static ImageCache& Instance();

    // The bitmap cached under resourceId; on a miss, decode() is called once and its result
    // (possibly null, which is remembered too) is stored. Lookup, decoding and insertion happen
    // under the cache lock, so concurrent editors never decode an id twice.
    PIX_IBitmap* FindOrDecode(int resourceId, const std::function<std::unique_ptr<PIX_IBitmap>()>& decode);
    // The bitmap cached under resourceId, or null when the id is unknown or could not be decoded.
    PIX_IBitmap* Find(int resourceId) const;

private:
    struct Entry {
        int resourceId;
        std::unique_ptr<PIX_IBitmap> bitmap;
    };

    PIX_IBitmap* FindLocked(int resourceId, bool& found) const;

    mutable platform::RecursiveLock lock;
    std::vector<Entry> entries;
};
