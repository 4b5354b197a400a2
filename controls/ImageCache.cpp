#include "controls/ImageCache.h"

ImageCache& ImageCache::Instance()
{
    static ImageCache cache;
    return cache;
}

PIX_IBitmap* ImageCache::FindLocked(int resourceId, bool& found) const
{
    for (const Entry& e : entries) {
        if (e.resourceId == resourceId) {
            found = true;
            return e.bitmap.get();
        }
    }
    found = false;
    return nullptr;
}

PIX_IBitmap* ImageCache::FindOrDecode(int resourceId, const std::function<std::unique_ptr<PIX_IBitmap>()>& decode)
{
    std::lock_guard<platform::RecursiveLock> g(lock);
    bool found = false;
    if (PIX_IBitmap* bitmap = FindLocked(resourceId, found); found)
        return bitmap;
    entries.push_back(Entry{resourceId, decode()});
    return entries.back().bitmap.get();
}

PIX_IBitmap* ImageCache::Find(int resourceId) const
{
    std::lock_guard<platform::RecursiveLock> g(lock);
    bool found = false;
    return FindLocked(resourceId, found);
}
