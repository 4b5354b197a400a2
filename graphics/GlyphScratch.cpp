#include "GlyphScratch.h"

std::shared_ptr<GlyphScratch> GlyphScratch::Acquire()
{
    static std::mutex acquireLock;
    static std::weak_ptr<GlyphScratch> current;
    std::lock_guard<std::mutex> guard(acquireLock);
    std::shared_ptr<GlyphScratch> scratch = current.lock();
    if (!scratch) {
        scratch = std::make_shared<GlyphScratch>();
        current = scratch;
    }
    return scratch;
}
