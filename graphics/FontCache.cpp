#include "FontCache.h"

#include "FontService.h"

FontCache& FontCache::Process()
{
    static FontCache cache;
    return cache;
}

// The lock is held while a new font is made, so that two threads asking
// for the same style at once get the same font.
PIX_IFont* FontCache::FindOrCreate(const ITextStyle& style)
{
    const std::string_view face = style.Face();
    std::lock_guard<platform::RecursiveLock> guard(lock);
    for (const Entry& entry : entries)
        if (entry.size == style.size && entry.orientation == style.orientation && entry.style == style.style &&
            entry.face == face)
            return entry.font.get();

    platform::FontRequest request;
    request.face = face;
    request.cellHeight = style.size;
    request.orientation = style.orientation;
    request.bold = (style.style & ITextStyle::kBold) != 0;
    request.italic = (style.style & ITextStyle::kItalic) != 0;
    request.quality = style.quality;
    std::unique_ptr<platform::PlatformFont> handle = platform::CreatePlatformFont(request);
    if (!handle)
        return nullptr;
    auto font = std::make_unique<PIX_CachedFont>();
    font->SetFont(std::move(handle), pix::kFontOwnsHandle | pix::kFontPreferPlatform);
    PIX_IFont* made = font.get();
    entries.push_back(Entry{style.size, style.orientation, style.style, std::string(face), std::move(font)});
    return made;
}

std::size_t FontCache::Count() const
{
    std::lock_guard<platform::RecursiveLock> guard(lock);
    return entries.size();
}
