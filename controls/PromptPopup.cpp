#include "controls/PromptPopup.h"

#include "framework/IEditHost.h"
#include "framework/IParamDef.h"
#include "controls/IGraphics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr int kEditorMargin = 6;  // the menu stays this far inside the editor
constexpr int kOpenWidth = 70;  // column width a value menu starts with

int Saturate(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

// Width and height of a rectangle, whatever its edges.
long long WidthOf(const IBox& b) { return static_cast<long long>(b.R) - b.L; }
long long HeightOf(const IBox& b) { return static_cast<long long>(b.B) - b.T; }

// Nearest integer, halves away from zero, saturated to the int range (NaN counts as 0).
int Nearest(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = v < 0.0 ? v - 0.5 : v + 0.5;
    return static_cast<int>(std::clamp(r, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

IArgb WithAlpha(IArgb colour, int alpha)
{
    colour.A = std::clamp(alpha, 0, 255);
    return colour;
}

// Left (or top) of a menu of size `size` centred over an opener at `pos` of size `openerSize`,
// kept kEditorMargin inside an editor of size `editorSize`.
int CentreInside(int pos, long long openerSize, long long size, int editorSize)
{
    const long long shifted = pos + static_cast<long long>((static_cast<double>(openerSize) - size) * 0.5);
    if (shifted < kEditorMargin)
        return kEditorMargin;
    if (shifted + size > static_cast<long long>(editorSize) - kEditorMargin)
        return Saturate(static_cast<long long>(editorSize) - kEditorMargin - size);
    return Saturate(shifted);
}

}  // namespace

PromptPopup* PromptPopup::OpenFor(IControl& opener)
{
    IEditHost* host = opener.Host();
    IGraphics* graphics = opener.Graphics();
    const IParamDef* param = host && opener.ParamIdx() >= 0 ? host->ParamRecord(opener.ParamIdx()) : nullptr;
    if (!graphics || !param)
        return nullptr;
    const IBox& at = opener.Rect();
    const IPromptStyle& style = graphics->PromptStyle();
    auto created =
        std::make_unique<PromptPopup>(host, at.L, at.T, kOpenWidth, 1, &style.text, &style.fill, &style.frame);
    PromptPopup* menu = created.get();
    if (graphics->AttachControl(std::move(created)) < 0)
        return nullptr;
    graphics->SetPopup(menu);
    menu->Hide(true);
    for (int i = 0; i < param->ValueTextCount(); ++i)
        menu->AddItem(param->ValueTextAt(i)->text);
    menu->MoveTo(CentreInside(at.L, WidthOf(at), WidthOf(menu->rect), graphics->Width()),
                 CentreInside(at.T, HeightOf(at), HeightOf(menu->rect), graphics->Height()));
    menu->SetParam(opener.ParamIdx(), &opener);
    return menu;
}

PromptPopup::PromptPopup(IEditHost* host, int x, int y, int width, int columns, const ITextStyle* text,
                         const IArgb* background, const IArgb* highlight)
    : IControl(host, -1), columnWidth(width), columns(std::max(1, columns))
{
    const IPromptStyle style;
    normalText = text ? *text : style.text;
    this->background = background ? *background : style.fill;
    this->highlight = highlight ? *highlight : style.frame;
    selectedText = normalText;
    selectedText.colour.A = std::min(255, normalText.colour.A + 55);
    rowHeight = std::max(1, Saturate(static_cast<long long>(normalText.size) + 6));
    visibleItems = Saturate(static_cast<long long>(this->columns) * rowsPerColumn);
    rect = IBox{x, y, Saturate(std::max(static_cast<long long>(x) + 10, static_cast<long long>(x) + width)),
                Saturate(static_cast<long long>(y) + 30)};
    targetRect = rect;
}

const char* PromptPopup::Item(int index) const
{
    return index >= 0 && index < itemCount ? items[static_cast<size_t>(index)].data() : nullptr;
}

void PromptPopup::AddItem(const char* text)
{
    std::array<char, kItemCapacity> item{};
    if (text)
        std::strncpy(item.data(), text, kItemCapacity - 1);
    items.push_back(item);
    const long long length = static_cast<long long>(std::strlen(item.data()));
    const long long needed = length * std::max(normalText.size - 8, 5) + 2LL * margin + 20;
    columnWidth = Saturate(std::max<long long>(columnWidth, needed));

    ++itemCount;
    if (autoGrow && (itemCount == 10 || itemCount == 20 || itemCount == 30 || itemCount == 40))
        ++rowsPerColumn;
    visibleItems = Saturate(static_cast<long long>(columns) * rowsPerColumn);

    const long long columnsWidth = static_cast<long long>(columns) * columnWidth;
    long long width = 0;
    long long height = 0;
    if (itemCount <= visibleItems) {
        height = static_cast<long long>(std::ceil(static_cast<double>(itemCount) / columns) * rowHeight);
        width = columnsWidth + margin;
        thumbLength = 0;
    } else {
        // A scroll bar whose thumb shrinks from the full height towards one and a half rows.
        const double full = static_cast<double>(rowHeight) * rowsPerColumn;
        const double least = 1.5 * rowHeight;
        height = static_cast<long long>(full);
        width = columnsWidth + scrollBarWidth + margin + 2;
        if (itemCount > 4 * rowsPerColumn)
            thumbLength = Saturate(static_cast<long long>(least));
        else
            thumbLength = Saturate(
                static_cast<long long>(full + (least - full) * (itemCount - rowsPerColumn) / (3.0 * rowsPerColumn)));
    }
    rect.R = Saturate(static_cast<long long>(rect.L) + width);
    rect.B = Saturate(static_cast<long long>(rect.T) + height);
    targetRect = rect;
    ScrollTo(scrollPos);
}

void PromptPopup::MoveTo(int left, int top)
{
    const long long w = WidthOf(rect);
    const long long h = HeightOf(rect);
    rect = IBox{left, top, Saturate(left + w), Saturate(top + h)};
    targetRect = rect;
    PlaceScrollBar();
}

void PromptPopup::SetParam(int paramIdx, IControl* opener)
{
    const IParamDef* param = host && paramIdx >= 0 ? host->ParamRecord(paramIdx) : nullptr;
    if (param) {
        // Items are the value texts in the order they were added: find the one of the value.
        const int current = Nearest(param->Value());
        selectedIndex = current;
        for (int i = 0; i < param->ValueTextCount(); ++i) {
            if (param->ValueTextAt(i)->value == current) {
                selectedIndex = i;
                break;
            }
        }
    }
    if (HasScrollBar()) {
        const long long row = static_cast<long long>(selectedIndex) / columns + 1;
        const int maxFirstRow = std::max(0, MaxFirstRow());
        const long long first =
            std::clamp<long long>(row - static_cast<long long>(std::ceil(rowsPerColumn * 0.5)), 0, maxFirstRow);
        ScrollTo(maxFirstRow > 0 ? Nearest(static_cast<double>(MaxScroll()) * first / maxFirstRow) : 0);
    }
    owner = opener;
    Hide(false);
}

int PromptPopup::MaxScroll() const { return Saturate(HeightOf(rect) - thumbLength - 2); }

int PromptPopup::MaxFirstRow() const
{
    const long long totalRows = (static_cast<long long>(itemCount) + columns - 1) / columns;
    return Saturate(totalRows - rowsPerColumn);
}

void PromptPopup::ScrollTo(long long pos)
{
    const int maxScroll = MaxScroll();
    scrollPos = maxScroll > 0 ? static_cast<int>(std::clamp<long long>(pos, 0, maxScroll)) : 0;
    firstVisible = 0;
    if (HasScrollBar() && maxScroll > 0) {
        const float row =
            static_cast<float>(MaxFirstRow()) * static_cast<float>(scrollPos) / static_cast<float>(maxScroll);
        firstVisible = Saturate(static_cast<long long>(columns) * Nearest(row));
    }
    PlaceScrollBar();
}

void PromptPopup::PlaceScrollBar()
{
    if (!HasScrollBar()) {
        scrollBar = IBox{};
        return;
    }
    scrollBar.L = Saturate(static_cast<long long>(rect.R) - scrollBarWidth - 2);
    scrollBar.R = Saturate(static_cast<long long>(rect.R) - 1);
    scrollBar.T = Saturate(static_cast<long long>(rect.T) + scrollPos + 1);
    scrollBar.B = Saturate(static_cast<long long>(scrollBar.T) + thumbLength);
}

int PromptPopup::IndexAt(int x, int y) const
{
    if (HasScrollBar() && x >= scrollBar.L && x <= scrollBar.R)
        return -1;
    const double row = std::floor((static_cast<double>(y) - rect.T) / rowHeight);
    if (row < 0.0 || row >= rowsPerColumn)
        return -1;
    long long index = static_cast<long long>(row) * columns;
    if (columns > 1) {
        const double across = static_cast<double>(x) - rect.L - Nearest(margin * 0.5);
        const double col = std::floor(across / std::max(1, columnWidth));
        index += static_cast<long long>(std::clamp(col, 0.0, static_cast<double>(columns - 1)));
    }
    // Only an item that is shown can be under the pointer.
    if (index >= visibleItems || firstVisible + index >= itemCount)
        return -1;
    return static_cast<int>(index);
}

IBox PromptPopup::Cell(int p) const
{
    const long long column = p % columns;
    const long long row = p / columns;
    const long long left = rect.L;
    const long long top = rect.T;
    return IBox{Saturate(left + margin + columnWidth * column), Saturate(top + rowHeight * row + 1),
                Saturate(left + columnWidth * (column + 1)), Saturate(top + rowHeight * (row + 1) - 1)};
}

void PromptPopup::OnMouseDown(int x, int y, const IMouseState& mod)
{
    if (HasScrollBar() && x >= scrollBar.L && x <= scrollBar.R) {
        if (mod.R)
            return;
        // On the track outside the thumb, the thumb first jumps to centre on the pointer.
        if (y < scrollBar.T || y > scrollBar.B)
            ScrollTo(static_cast<long long>(y) - rect.T - Nearest(thumbLength * 0.5));
        dragging = true;
        SetDirty(true);
        return;
    }
    if (!mod.L)
        return;
    const int under = IndexAt(x, y);
    if (under != hoverIndex) {
        hoverIndex = under;
        SetDirty(true);
    }
    if (hoverIndex < 0)
        return;

    selectedIndex = firstVisible + hoverIndex;
    const int chosen = selectedIndex;
    const std::array<char, kItemCapacity> text = items[static_cast<size_t>(chosen)];
    IEditHost* const base = host;
    IGraphics* const graphics = Graphics();
    const bool registered = graphics && graphics->Popup() == this;
    IControl* target = owner && owner->Owner() ? owner->Owner() : owner;
    if (target) {
        const int p = target->ParamIdx();
        const IParamDef* param = base && p >= 0 ? base->ParamRecord(p) : nullptr;
        if (param) {
            const double plain = chosen < param->ValueTextCount() ? param->ValueTextAt(chosen)->value : chosen;
            base->BeginParamEdit(p);
            target->SetValueFromEntry(param->ToNormalized(plain));
            base->EndParamEdit(p);
        }
        target->OnPopupChoice(text.data(), chosen);
    }
    if (!registered) {
        Hide(true);
        return;
    }
    // Closing deletes this menu: nothing of it may be touched afterwards.
    graphics->ReleaseMouseCapture();
    if (graphics->Popup() == this)
        graphics->ClosePopup(true);
}

void PromptPopup::OnMouseUp(int, int, const IMouseState&)
{
    if (!HasScrollBar())
        return;
    dragging = false;
    SetDirty(true);
}

void PromptPopup::OnMouseDrag(int, int, int, int dY, const IMouseState&)
{
    if (!HasScrollBar() || !dragging)
        return;
    ScrollTo(static_cast<long long>(scrollPos) + dY);
    SetDirty(true);
}

void PromptPopup::OnMouseWheel(int, int, const IMouseState&, int d)
{
    if (!HasScrollBar())
        return;
    // Three pixels of thumb travel per notch; upwards scrolls towards the first item.
    ScrollTo(static_cast<long long>(scrollPos) - 3LL * d);
    SetDirty(true);
}

void PromptPopup::OnMouseOver(int x, int y, const IMouseState&)
{
    const int under = IndexAt(x, y);
    if (under != hoverIndex) {
        hoverIndex = under;
        SetDirty(true);
    }
}

void PromptPopup::OnMouseOut()
{
    hoverIndex = -2;
    SetDirty(true);
}

bool PromptPopup::Draw(IGraphics& graphics)
{
    // A panel whose size does not even fit an int cannot be measured by the drawing operations.
    if (WidthOf(rect) > INT_MAX || HeightOf(rect) > INT_MAX)
        return false;
    PlaceScrollBar();
    graphics.FillRoundRect(background, rect, 4, 4, nullptr, true);

    const IArgb separator = WithAlpha(highlight, static_cast<int>(highlight.A * 0.6));
    for (int i = 1; i < columns; ++i) {
        const float x = static_cast<float>(rect.L) + static_cast<float>(columnWidth) * i + margin * 0.5f - 0.5f;
        graphics.DrawLine(separator, x, static_cast<float>(rect.T + margin), x, static_cast<float>(rect.B - margin),
                          nullptr, true);
    }

    const int choice = selectedIndex - firstVisible;
    const bool choiceShown = selectedIndex >= 0 && choice >= 0 && choice < visibleItems;
    if (choiceShown) {
        const IBox cell = Cell(choice);
        graphics.DrawRoundRect(highlight, cell, 4, nullptr, true);
        graphics.FillRoundRect(highlight, cell, 4, 4, nullptr, true);
    }
    if (hoverIndex >= 0 && hoverIndex < visibleItems && !(choiceShown && hoverIndex == choice))
        graphics.FillRoundRect(highlight, Cell(hoverIndex), 4, 4, nullptr, true);

    const int last =
        static_cast<int>(std::min<long long>(itemCount, static_cast<long long>(firstVisible) + visibleItems));
    const int lift = Nearest(margin * 0.75);
    for (int i = firstVisible; i < last; ++i) {
        const long long p = i - firstVisible;
        const long long column = p % columns;
        const long long row = p / columns;
        const long long left = rect.L;
        const long long top = rect.T;
        const IBox area{Saturate(left + columnWidth * column + 2LL * margin), Saturate(top + rowHeight * row + lift),
                        Saturate(left + columnWidth * (column + 1)), Saturate(top + rowHeight * (row + 1))};
        graphics.DrawText(i == selectedIndex ? selectedText : normalText, items[static_cast<size_t>(i)].data(), area);
    }

    if (HasScrollBar()) {
        const IBox track{scrollBar.L - 1, rect.T, scrollBar.R + 1, rect.B};
        graphics.DrawRoundRect(WithAlpha(highlight, highlight.A - 20), track, 4, nullptr, true);
        const bool lit = hoverIndex == -1 && !dragging;
        graphics.FillRoundRect(WithAlpha(highlight, lit ? highlight.A + 20 : highlight.A), scrollBar, 3, 4, nullptr,
                               true);
    }
    return true;
}
