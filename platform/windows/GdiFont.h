// A platform font on Windows: one GDI font, measured and drawn with the system's own text
// drawing (wide characters, ampersands literal). Draws through the surface's device context
// when it has one, else through a device-independent bitmap of its own over the area drawn.
#pragma once

#include <string>

#include "FontService.h"

namespace platform {

class GdiFont final : public PlatformFont {
public:
    // Null when the system refuses the request.
    static std::unique_ptr<GdiFont> Create(const FontRequest& request);
    ~GdiFont() override;

    int LineHeight() const override { return lineHeight; }
    std::string FamilyName() const override;
    int DrawText(const TextSurface* surface, std::span<const char32_t> text, TextBox& box, unsigned flags,
                 const TextPaint& paint) override;

private:
    GdiFont(void* font, void* context, void* previous, int lineHeight, int orientation);

    // The system's handles, kept untyped so that users of this header need not see windows.h.
    void* font;  // the font (HFONT)
    void* context;  // a memory device context holding the font, for measuring (HDC)
    void* previous;  // the context's font before this one (HGDIOBJ)
    int lineHeight;
    int orientation;  // degrees, 0 ... 359
};

}  // namespace platform
