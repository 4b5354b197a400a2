// ValueEntryBox: the single-line text box or drop-down list in which the user types or picks a
// parameter's value, drawn with our own raster and text layers (the window system offers no
// ready-made ones). It knows its place in the editor, its text or entries and selection, reacts
// to keys and presses, and paints itself into a bitmap; the window shows that bitmap.
#pragma once

#include "graphics/IBox.h"
#include "graphics/ITextStyle.h"
#include "graphics/PIX_MemBitmap.h"
#include "platform/linux/x11/EditorWindowEvent.h"

#include <string>
#include <vector>

class ValueEntryBox {
public:
    enum class Kind {
        Text,
        List
    };
    // What an input did to the entry: nothing, kept the user typing, asked for a commit, or
    // asked to close the entry without a change (Escape).
    enum class Effect {
        Ignored,
        Typing,
        Commit,
        Cancel
    };

    static constexpr int kMaxText = 1000;  // characters a commit reads
    static constexpr int kFieldHeight = 20;  // the list's closed field
    static constexpr int kRowHeight = 16;  // one entry of the dropped list

    // A text box covering area showing text, all of it selected; centred text when centred.
    static ValueEntryBox TextBox(const IBox& area, const std::string& text, bool centred);
    // A list whose closed field is the top of area; area's height bounds the dropped list.
    // selected is -1 for none.
    static ValueEntryBox ListBox(const IBox& area, std::vector<std::string> entries, int selected);

    Kind GetKind() const { return kind; }
    // The part of the editor the box covers now (a dropped list reaches below its field).
    IBox Area() const;
    bool Dropped() const { return dropped; }
    int Selected() const { return selected; }
    // The text a commit applies: the typed text, or the selected entry (empty for none).
    std::string Text() const;
    bool HasSelection() const { return selStart != selEnd; }

    Effect OnKey(EntryKey key, const char* typed);
    // A left press at (x, y) in the box's own pixels.
    Effect OnPress(int x, int y);

    // Paints the box into pixels, resized to the box's area.
    void Paint(PIX_MemBitmap& pixels);

private:
    ValueEntryBox() = default;
    int TextLeft();
    int TextWidth(size_t characters);
    void DeleteSelection();
    int Field() const { return kind == Kind::List ? kFieldHeight : area.H(); }
    int DroppedHeight() const;

    Kind kind = Kind::Text;
    IBox area;
    bool centred = false;
    std::string text;
    size_t caret = 0;
    size_t selStart = 0;
    size_t selEnd = 0;
    std::vector<std::string> entries;
    int selected = -1;
    bool dropped = false;
    ITextStyle style{"Arial", 14, IArgb{255, 0, 0, 0}, 0, ITextStyle::kAlignLeft};
};
