// The font service on Windows: GDI fonts, and the once-per-process test for the Wine
// compatibility layer, which is present when its registry key can be opened.
#include "FontService.h"

#include <windows.h>
// The system's DrawText macro would rename the fonts' own operation.
#undef DrawText

#include "GdiFont.h"

namespace platform {

std::unique_ptr<PlatformFont> CreatePlatformFont(const FontRequest& request) { return GdiFont::Create(request); }

bool RunsUnderWine()
{
    static const bool underWine = [] {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }();
    return underWine;
}

}  // namespace platform
