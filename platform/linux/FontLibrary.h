// The process's FreeType library and fontconfig configuration, shared by
// every font made on Linux. A font keeps the library alive through a
// shared_ptr, so fonts held by static objects can be destroyed in any order.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <mutex>
#include <string>

#include "FontService.h"

struct _FcConfig;

namespace platform {

class FontLibrary {
public:
    // The library, started on first use; null when FreeType cannot start.
    static std::shared_ptr<FontLibrary> Shared();

    FontLibrary(FT_Library freetype, _FcConfig* config);
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // What fontconfig resolves a request to: a font file, the face inside
    // it and whether the system wants the face anti-aliased by default.
    struct Match {
        std::string file;
        int index = 0;
        bool antialias = true;
    };
    // False when nothing matches.
    bool Resolve(const FontRequest& request, Match& match);

    // Opens a face; null when FreeType cannot read it. Faces are opened and
    // closed under the library's lock, as FreeType requires.
    FT_Face OpenFace(const Match& match);
    void CloseFace(FT_Face face);

private:
    std::mutex lock;
    FT_Library freetype;
    _FcConfig* config;
};

}  // namespace platform
