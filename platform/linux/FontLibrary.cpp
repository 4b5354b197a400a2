#include "FontLibrary.h"

#include <fontconfig/fontconfig.h>

#include <dlfcn.h>

namespace platform {

namespace {

// fontconfig keeps process-wide state that only FcFini frees, and FcFini would also tear down
// the configuration a host of ours may be using. Once started, fontconfig therefore stays
// mapped when this library is unloaded, so that its state stays valid and is not lost.
void KeepFontconfigLoaded()
{
    if (void* handle = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE))
        dlclose(handle);
}

}  // namespace

std::shared_ptr<FontLibrary> FontLibrary::Shared()
{
    static std::mutex startLock;
    static std::shared_ptr<FontLibrary> shared;
    std::lock_guard<std::mutex> guard(startLock);
    if (!shared) {
        FT_Library freetype = nullptr;
        if (FT_Init_FreeType(&freetype) != 0)
            return nullptr;
        FcConfig* config = FcInitLoadConfigAndFonts();
        KeepFontconfigLoaded();
        shared = std::make_shared<FontLibrary>(freetype, config);
    }
    return shared;
}

FontLibrary::FontLibrary(FT_Library freetype, _FcConfig* config) : freetype(freetype), config(config) {}

FontLibrary::~FontLibrary()
{
    if (config)
        FcConfigDestroy(config);
    FT_Done_FreeType(freetype);
}

bool FontLibrary::Resolve(const FontRequest& request, Match& match)
{
    std::lock_guard<std::mutex> guard(lock);
    if (!config)
        return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    const std::string family(request.face);
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, double(request.cellHeight));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found)
        return false;
    FcChar8* file = nullptr;
    int index = 0;
    FcBool antialias = FcTrue;
    const bool ok = FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok) {
        match.file = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch)
            match.index = index;
        if (FcPatternGetBool(found, FC_ANTIALIAS, 0, &antialias) == FcResultMatch)
            match.antialias = antialias != FcFalse;
    }
    FcPatternDestroy(found);
    return ok;
}

FT_Face FontLibrary::OpenFace(const Match& match)
{
    std::lock_guard<std::mutex> guard(lock);
    FT_Face face = nullptr;
    if (FT_New_Face(freetype, match.file.c_str(), match.index, &face) != 0)
        return nullptr;
    if (!FT_IS_SCALABLE(face)) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

void FontLibrary::CloseFace(FT_Face face)
{
    std::lock_guard<std::mutex> guard(lock);
    FT_Done_Face(face);
}

}  // namespace platform
