// CreatePlatformFont on Linux: fontconfig picks the face file for the name
// and style, FreeType opens and sizes it.
#include "FontService.h"

#include "FontLibrary.h"
#include "FreeTypeFont.h"

namespace platform {

std::unique_ptr<PlatformFont> CreatePlatformFont(const FontRequest& request)
{
    if (request.cellHeight < 1 || request.cellHeight > kMaxFontCellHeight)
        return nullptr;
    std::shared_ptr<FontLibrary> library = FontLibrary::Shared();
    if (!library)
        return nullptr;
    FontLibrary::Match match;
    if (!library->Resolve(request, match))
        return nullptr;
    FT_Face face = library->OpenFace(match);
    if (!face)
        return nullptr;
    // 0 follows the system's setting; 2 and 3 are anti-aliased (sub-pixel
    // drawing is done as grey-scale anti-aliasing); anything else is not.
    const bool antialias = request.quality == 0 ? match.antialias : (request.quality == 2 || request.quality == 3);
    return FreeTypeFont::Create(std::move(library), face, request, antialias);
}

bool RunsUnderWine() { return false; }

}  // namespace platform
