#include "controls/IDropDownChild.h"

#include "controls/IGraphics.h"

#include <algorithm>
#include <cmath>

IDropDownChild::IDropDownChild(IEditHost* host, double* target, int x, int y, const IImage& listBitmap, int columns)
    : IControl(host, -1), listBitmap(listBitmap), target(target), columns(std::max(1, columns))
{
    const long long right = static_cast<long long>(x) + std::max(0, listBitmap.W);
    const long long bottom = static_cast<long long>(y) + std::max(0, listBitmap.H);
    rect = IBox{x, y, static_cast<int>(std::min<long long>(right, INT32_MAX)),
                static_cast<int>(std::min<long long>(bottom, INT32_MAX))};
    targetRect = rect;
}

double IDropDownChild::ChoiceAt(int x, int y) const
{
    const int n = listBitmap.N;
    const int w = listBitmap.W;
    const int h = listBitmap.H;
    if (n <= 0 || w <= 0 || h <= 0)
        return -1.0;
    // Choices run down the first column, then down the next: rows per column = ceil(N / C).
    const float dx = static_cast<float>(static_cast<long long>(x) - rect.L);
    const float colF = std::floor(dx * static_cast<float>(columns) / static_cast<float>(w));
    const int col = static_cast<int>(std::clamp(colF, 0.0f, static_cast<float>(columns - 1)));
    const float rows = std::ceil(static_cast<float>(n) / static_cast<float>(columns));
    const float dy = static_cast<float>(static_cast<long long>(y) - rect.T);
    const float rowHeight = static_cast<float>(h) * (1.0f / rows);
    // Only the rows of one column count, so the bottom edge never reaches into the next column.
    const int rowCount = static_cast<int>(rows);
    int row = -1;
    for (int i = 0; i < rowCount; ++i) {
        if (static_cast<float>(i + 1) * rowHeight > dy) {
            row = i;
            break;
        }
    }
    if (row < 0)
        return -1.0;
    if (n == 1)
        return 0.0;
    const float choice = (static_cast<float>(col) * rows + static_cast<float>(row)) / static_cast<float>(n - 1);
    // An empty cell at the end of the last column lies beyond the last choice: the first one.
    return choice <= 1.0f ? static_cast<double>(choice) : 0.0;
}

void IDropDownChild::OnMouseDown(int x, int y, const IMouseState& mod)
{
    if (IGraphics* graphics = Graphics())
        graphics->ClearPopupSlot();
    if (!mod.R) {
        const double choice = ChoiceAt(x, y);
        if (choice >= 0.0 && target) {
            *target = choice;
            SetDirty(true);
            Hide(true);
        }
    }
    SetDirty(true);
}

bool IDropDownChild::Draw(IGraphics& graphics)
{
    graphics.DrawBitmap(listBitmap, rect, 0, 0, &blend);
    return true;
}
