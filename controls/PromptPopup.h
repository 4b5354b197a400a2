// PromptPopup: the pop-up value menu. A dark rounded panel drawn inside the editor that lists a
// parameter's value texts in one or more columns, highlights the current choice and the item
// under the pointer, and scrolls with a scroll bar when there are more items than rows. A left
// press on an item sets its owner's parameter and closes the menu; the graphics core closes it
// on a press anywhere else.
#pragma once

#include "controls/IControl.h"
#include "graphics/IArgb.h"
#include "graphics/ITextStyle.h"

#include <array>
#include <vector>

class PromptPopup : public IControl {
public:
    static constexpr int kItemCapacity = 32;  // bytes per item text, terminator included

    // Opens the menu of `opener`'s parameter value texts, centred over the opener and kept 6
    // pixels inside the editor, and registers it as the editor's pop-up. Answers the menu (owned
    // by the graphics core), or null when the opener has no editor or parameter.
    static PromptPopup* OpenFor(IControl& opener);

    // Null style or colours take the graphics core's pop-up style. The menu has no parameter.
    PromptPopup(IEditHost* host, int x, int y, int width, int columns, const ITextStyle* text, const IArgb* background,
                const IArgb* highlight);

    // Appends an item (cut to 31 characters) and resizes the menu to show it.
    void AddItem(const char* text);
    // Selects the item of the parameter's current value, scrolls it into view, makes `owner`
    // the control the menu acts for and shows the menu.
    void SetParam(int paramIdx, IControl* owner);
    // Moves the menu, keeping its size.
    void MoveTo(int left, int top);

    void OnMouseDown(int x, int y, const IMouseState& mod) override;
    void OnMouseUp(int x, int y, const IMouseState& mod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, const IMouseState& mod) override;
    void OnMouseWheel(int x, int y, const IMouseState& mod, int d) override;
    void OnMouseOver(int x, int y, const IMouseState& mod) override;
    void OnMouseOut() override;
    bool Draw(IGraphics& graphics) override;

    int ItemCount() const { return itemCount; }
    const char* Item(int index) const;
    int SelectedIndex() const { return selectedIndex; }
    int HoverIndex() const { return hoverIndex; }
    int FirstVisible() const { return firstVisible; }
    int ScrollPos() const { return scrollPos; }
    int MaxScroll() const;
    int ThumbLength() const { return thumbLength; }
    int RowsPerColumn() const { return rowsPerColumn; }
    int RowHeight() const { return rowHeight; }
    int ColumnWidth() const { return columnWidth; }
    // Left/right: the scroll-bar track; top/bottom: the thumb. Empty without a scroll bar.
    const IBox& ScrollBar() const { return scrollBar; }

private:
    bool HasScrollBar() const { return thumbLength > 0; }
    int MaxFirstRow() const;
    // Clamps and stores a scroll-bar position, and the first item it shows.
    void ScrollTo(long long pos);
    // Places the scroll-bar track at the right edge and the thumb at the scroll position.
    void PlaceScrollBar();
    // Item under the pointer counted from the first visible one; -1 over the scroll bar or
    // where no item is.
    int IndexAt(int x, int y) const;
    // Cell of visible position p.
    IBox Cell(int p) const;

    int columnWidth;
    int margin = 4;
    int hoverIndex = -2;  // -1: over the scroll bar; -2: not over the menu
    int visibleItems = 0;
    int firstVisible = 0;
    int scrollPos = 0;
    int thumbLength = 0;  // 0: no scroll bar
    int scrollBarWidth = 9;
    bool dragging = false;
    std::vector<std::array<char, kItemCapacity>> items;
    ITextStyle normalText;
    ITextStyle selectedText;
    IArgb background;
    IArgb highlight;
    IBox scrollBar;
    int selectedIndex = -1;
    int rowHeight = 0;
    int itemCount = 0;
    int rowsPerColumn = 5;
    int columns;
    bool autoGrow = true;
};
