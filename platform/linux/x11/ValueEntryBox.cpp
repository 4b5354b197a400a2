#include "platform/linux/x11/ValueEntryBox.h"

#include "graphics/FillRect.h"
#include "graphics/RasterMode.h"
#include "graphics/TextDrawing.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kInk = 0xFF000000;
constexpr std::uint32_t kHighlight = 0xFF0078D7;
constexpr std::uint32_t kFrame = 0xFF7A7A7A;
constexpr int kPadding = 3;
constexpr int kArrowWidth = 17;

void Fill(PIX_MemBitmap& pixels, const IBox& r, std::uint32_t colour)
{
    pix::FillRect(&pixels, r.L, r.T, r.W(), r.H(), colour, 1.0f, pix::kOpCopy);
}

void Frame(PIX_MemBitmap& pixels, const IBox& r, std::uint32_t colour)
{
    Fill(pixels, IBox{r.L, r.T, r.R, r.T + 1}, colour);
    Fill(pixels, IBox{r.L, r.B - 1, r.R, r.B}, colour);
    Fill(pixels, IBox{r.L, r.T, r.L + 1, r.B}, colour);
    Fill(pixels, IBox{r.R - 1, r.T, r.R, r.B}, colour);
}

}  // namespace

ValueEntryBox ValueEntryBox::TextBox(const IBox& area, const std::string& text, bool centred)
{
    ValueEntryBox box;
    box.kind = Kind::Text;
    box.area = area;
    box.centred = centred;
    box.text = text.substr(0, kMaxText);
    box.selStart = 0;
    box.selEnd = box.caret = box.text.size();
    return box;
}

ValueEntryBox ValueEntryBox::ListBox(const IBox& area, std::vector<std::string> entries, int selected)
{
    ValueEntryBox box;
    box.kind = Kind::List;
    box.area = area;
    box.entries = std::move(entries);
    box.selected = selected >= 0 && selected < static_cast<int>(box.entries.size()) ? selected : -1;
    return box;
}

int ValueEntryBox::DroppedHeight() const
{
    const int rows = std::max(1, static_cast<int>(entries.size()));
    const int room = std::max(area.H() - kFieldHeight, kRowHeight + 2);
    return std::min(rows * kRowHeight + 2, room);
}

IBox ValueEntryBox::Area() const
{
    if (kind == Kind::Text)
        return area;
    return IBox{area.L, area.T, area.R, area.T + kFieldHeight + (dropped ? DroppedHeight() : 0)};
}

std::string ValueEntryBox::Text() const
{
    if (kind == Kind::Text)
        return text.substr(0, kMaxText);
    return selected >= 0 ? entries[static_cast<size_t>(selected)] : std::string();
}

void ValueEntryBox::DeleteSelection()
{
    text.erase(selStart, selEnd - selStart);
    caret = selStart;
    selEnd = selStart;
}

ValueEntryBox::Effect ValueEntryBox::OnKey(EntryKey key, const char* typed)
{
    if (kind == Kind::List) {
        const int last = static_cast<int>(entries.size()) - 1;
        int next = selected;
        switch (key) {
        case EntryKey::Enter: return Effect::Commit;
        case EntryKey::Escape: dropped = false; return Effect::Cancel;
        case EntryKey::Up: next = selected < 0 ? 0 : std::max(0, selected - 1); break;
        case EntryKey::Down: next = std::min(last, selected + 1); break;
        case EntryKey::Home: next = 0; break;
        case EntryKey::End: next = last; break;
        default: return Effect::Typing;
        }
        if (last < 0 || next == selected)
            return Effect::Typing;
        selected = next;
        return Effect::Commit;
    }
    switch (key) {
    case EntryKey::Enter: selStart = selEnd = caret; return Effect::Commit;
    case EntryKey::Escape: return Effect::Cancel;
    case EntryKey::Text:
        if (typed) {
            std::string add;
            for (const char* p = typed; *p; ++p)
                if (static_cast<unsigned char>(*p) >= 0x20 && static_cast<unsigned char>(*p) < 0x7F)
                    add += *p;
            DeleteSelection();
            add = add.substr(0, kMaxText - std::min<size_t>(text.size(), kMaxText));
            text.insert(caret, add);
            caret += add.size();
            selStart = selEnd = caret;
        }
        break;
    case EntryKey::Backspace:
        if (HasSelection())
            DeleteSelection();
        else if (caret > 0)
            text.erase(--caret, 1);
        selStart = selEnd = caret;
        break;
    case EntryKey::Delete:
        if (HasSelection())
            DeleteSelection();
        else if (caret < text.size())
            text.erase(caret, 1);
        selStart = selEnd = caret;
        break;
    case EntryKey::Left:
        caret = HasSelection() ? selStart : (caret > 0 ? caret - 1 : 0);
        selStart = selEnd = caret;
        break;
    case EntryKey::Right:
        caret = HasSelection() ? selEnd : std::min(text.size(), caret + 1);
        selStart = selEnd = caret;
        break;
    case EntryKey::Home: caret = selStart = selEnd = 0; break;
    case EntryKey::End: caret = selStart = selEnd = text.size(); break;
    default: break;
    }
    return Effect::Typing;
}

ValueEntryBox::Effect ValueEntryBox::OnPress(int x, int y)
{
    if (kind == Kind::List) {
        if (y < kFieldHeight) {
            dropped = !dropped;
            return Effect::Typing;
        }
        if (!dropped)
            return Effect::Ignored;
        const int row = (y - kFieldHeight - 1) / kRowHeight;
        if (y - kFieldHeight - 1 < 0 || row >= static_cast<int>(entries.size()))
            return Effect::Ignored;
        selected = row;
        dropped = false;
        return Effect::Commit;
    }
    const int left = TextLeft();
    size_t best = 0;
    int bestDistance = std::abs(x - left);
    for (size_t i = 1; i <= text.size(); ++i) {
        const int d = std::abs(x - (left + TextWidth(i)));
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    caret = selStart = selEnd = best;
    return Effect::Typing;
}

int ValueEntryBox::TextWidth(size_t characters)
{
    if (characters == 0)
        return 0;
    const std::string part = text.substr(0, characters);
    IBox extent{0, 0, 0, 0};
    if (!pix::MeasureText(style, part.c_str(), extent))
        return 0;
    return extent.R - extent.L;
}

int ValueEntryBox::TextLeft()
{
    if (!centred)
        return kPadding;
    return (area.W() - TextWidth(text.size())) / 2;
}

void ValueEntryBox::Paint(PIX_MemBitmap& pixels)
{
    const IBox now = Area();
    pixels.Resize(now.W(), now.H());
    const IBox all{0, 0, now.W(), now.H()};
    Fill(pixels, all, kWhite);
    if (kind == Kind::Text) {
        const int left = TextLeft();
        style.colour = IArgb{255, 0, 0, 0};
        pix::DrawText(pixels, style, text.c_str(), IBox{left, 0, now.W(), now.H()});
        if (HasSelection()) {
            const int x0 = left + TextWidth(selStart);
            const int x1 = left + TextWidth(selEnd);
            Fill(pixels, IBox{x0, 0, x1, now.H()}, kHighlight);
            const std::string chosen = text.substr(selStart, selEnd - selStart);
            style.colour = IArgb{255, 255, 255, 255};
            pix::DrawText(pixels, style, chosen.c_str(), IBox{x0, 0, now.W(), now.H()});
        } else {
            const int x = left + TextWidth(caret);
            Fill(pixels, IBox{x, 1, x + 1, std::min(now.H(), 15)}, kInk);
        }
        return;
    }
    const IBox field{0, 0, now.W(), kFieldHeight};
    Frame(pixels, field, kFrame);
    const int arrowL = std::max(1, now.W() - kArrowWidth);
    for (int i = 0; i < 4; ++i)
        Fill(pixels, IBox{arrowL + 4 + i, 8 + i, arrowL + 12 - i, 9 + i}, kInk);
    style.colour = IArgb{255, 0, 0, 0};
    if (selected >= 0)
        pix::DrawText(pixels, style, entries[static_cast<size_t>(selected)].c_str(),
                      IBox{kPadding, 3, arrowL, kFieldHeight});
    if (!dropped)
        return;
    const IBox list{0, kFieldHeight, now.W(), now.H()};
    Frame(pixels, list, kInk);
    for (size_t i = 0; i < entries.size(); ++i) {
        const int top = kFieldHeight + 1 + static_cast<int>(i) * kRowHeight;
        if (top >= now.H() - 1)
            break;
        const bool chosen = static_cast<int>(i) == selected;
        if (chosen)
            Fill(pixels, IBox{1, top, now.W() - 1, std::min(top + kRowHeight, now.H() - 1)}, kHighlight);
        style.colour = chosen ? IArgb{255, 255, 255, 255} : IArgb{255, 0, 0, 0};
        pix::DrawText(pixels, style, entries[i].c_str(), IBox{kPadding, top + 1, now.W() - 1, top + kRowHeight});
    }
}
