#include "TextInk.h"

#include <algorithm>

namespace testing_text {

IBox InkBounds(const PIX_IBitmap& bitmap, std::uint32_t background)
{
    IBox box{bitmap.GetWidth(), bitmap.GetHeight(), -1, -1};
    for (int y = 0; y < bitmap.GetHeight(); ++y)
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            if (bitmap.GetBits()[y * bitmap.GetRowSpan() + x] != background) {
                box.L = std::min(box.L, x);
                box.T = std::min(box.T, y);
                box.R = std::max(box.R, x + 1);
                box.B = std::max(box.B, y + 1);
            }
    return box.R < 0 ? IBox{} : box;
}

int InkCount(const PIX_IBitmap& bitmap, std::uint32_t background)
{
    int count = 0;
    for (int y = 0; y < bitmap.GetHeight(); ++y)
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            count += bitmap.GetBits()[y * bitmap.GetRowSpan() + x] != background;
    return count;
}

}  // namespace testing_text
