// The value-entry box without a window: editing, the list's choices and what a commit reads.
#include "platform/linux/x11/ValueEntryBox.h"

#include <gtest/gtest.h>

using Effect = ValueEntryBox::Effect;

TEST(ValueEntryText, TypingReplacesTheInitialSelectionAndEditsAtTheCaret)
{
    ValueEntryBox box = ValueEntryBox::TextBox(IBox{10, 10, 60, 26}, "50.0", true);
    EXPECT_TRUE(box.HasSelection());
    EXPECT_EQ(box.OnKey(EntryKey::Text, "7"), Effect::Typing);
    EXPECT_EQ(box.Text(), "7");
    box.OnKey(EntryKey::Text, "5");
    box.OnKey(EntryKey::Left, "");
    box.OnKey(EntryKey::Text, ".");
    EXPECT_EQ(box.Text(), "7.5");
    box.OnKey(EntryKey::Backspace, "");
    box.OnKey(EntryKey::Delete, "");
    EXPECT_EQ(box.Text(), "7");
    box.OnKey(EntryKey::Home, "");
    box.OnKey(EntryKey::Text, "-");
    box.OnKey(EntryKey::End, "");
    box.OnKey(EntryKey::Backspace, "");
    box.OnKey(EntryKey::Backspace, "");
    box.OnKey(EntryKey::Backspace, "");  // nothing left to delete
    EXPECT_EQ(box.Text(), "");
    // Control characters and bytes beyond ASCII are not typed.
    box.OnKey(EntryKey::Text, "\x01\xE9"
                              "4");
    EXPECT_EQ(box.Text(), "4");
}

TEST(ValueEntryText, EnterCommitsEscapeCancelsOtherKeysKeepTyping)
{
    ValueEntryBox box = ValueEntryBox::TextBox(IBox{0, 0, 40, 16}, "3.5", false);
    EXPECT_EQ(box.OnKey(EntryKey::Escape, ""), Effect::Cancel);
    EXPECT_EQ(box.OnKey(EntryKey::Up, ""), Effect::Typing);
    EXPECT_EQ(box.OnKey(EntryKey::Enter, ""), Effect::Commit);
    EXPECT_FALSE(box.HasSelection());
    EXPECT_EQ(box.Text(), "3.5");
}

TEST(ValueEntryText, TextIsCappedAtTheLengthACommitReads)
{
    ValueEntryBox box = ValueEntryBox::TextBox(IBox{0, 0, 40, 16}, std::string(1500, '1'), false);
    EXPECT_EQ(box.Text().size(), static_cast<size_t>(ValueEntryBox::kMaxText));
    box.OnKey(EntryKey::End, "");
    box.OnKey(EntryKey::Text, "2");
    EXPECT_EQ(box.Text().size(), static_cast<size_t>(ValueEntryBox::kMaxText));
}

TEST(ValueEntryText, PaintsWithinItsAreaWhateverItHolds)
{
    PIX_MemBitmap pixels(0, 0, 4);
    ValueEntryBox box = ValueEntryBox::TextBox(IBox{5, 5, 45, 21}, "123", true);
    box.Paint(pixels);
    EXPECT_EQ(pixels.GetWidth(), 40);
    EXPECT_EQ(pixels.GetHeight(), 16);
    // The selected text sits on the highlight, which is not white.
    bool highlighted = false;
    for (int x = 0; x < 40; ++x)
        highlighted |= pixels.GetBits()[8 * pixels.GetRowSpan() + x] != 0xFFFFFFFFu;
    EXPECT_TRUE(highlighted);
    ValueEntryBox empty = ValueEntryBox::TextBox(IBox{0, 0, 1, 1}, "", false);
    empty.Paint(pixels);
    EXPECT_EQ(pixels.GetWidth(), 1);
}

TEST(ValueEntryList, KeysMoveTheChoiceAndCommitOnlyOnAChange)
{
    ValueEntryBox box = ValueEntryBox::ListBox(IBox{0, 0, 96, 180}, {"No Assign", "Out Gain", "Low Gain"}, 1);
    EXPECT_EQ(box.Text(), "Out Gain");
    EXPECT_EQ(box.OnKey(EntryKey::Down, ""), Effect::Commit);
    EXPECT_EQ(box.Text(), "Low Gain");
    EXPECT_EQ(box.OnKey(EntryKey::Down, ""), Effect::Typing);  // already the last
    EXPECT_EQ(box.OnKey(EntryKey::Home, ""), Effect::Commit);
    EXPECT_EQ(box.Selected(), 0);
    EXPECT_EQ(box.OnKey(EntryKey::Up, ""), Effect::Typing);
    EXPECT_EQ(box.OnKey(EntryKey::Text, "x"), Effect::Typing);
    EXPECT_EQ(box.OnKey(EntryKey::Enter, ""), Effect::Commit);
}

TEST(ValueEntryList, ClicksDropTheListAndPickAnEntry)
{
    ValueEntryBox box = ValueEntryBox::ListBox(IBox{100, 50, 196, 230}, {"a", "b", "c", "d"}, -1);
    EXPECT_EQ(box.Text(), "");
    EXPECT_EQ(box.Area(), (IBox{100, 50, 196, 50 + ValueEntryBox::kFieldHeight}));
    EXPECT_EQ(box.OnPress(10, 200), Effect::Ignored);  // below the closed field
    EXPECT_EQ(box.OnPress(10, 5), Effect::Typing);
    ASSERT_TRUE(box.Dropped());
    EXPECT_EQ(box.Area().H(), ValueEntryBox::kFieldHeight + 4 * ValueEntryBox::kRowHeight + 2);
    const int thirdRow = ValueEntryBox::kFieldHeight + 1 + 2 * ValueEntryBox::kRowHeight + 3;
    EXPECT_EQ(box.OnPress(10, thirdRow), Effect::Commit);
    EXPECT_EQ(box.Text(), "c");
    EXPECT_FALSE(box.Dropped());
    box.OnPress(10, 5);
    EXPECT_EQ(box.OnPress(10, 10'000), Effect::Ignored);
    EXPECT_EQ(box.OnKey(EntryKey::Escape, ""), Effect::Cancel);  // closes the entry unchanged
    EXPECT_FALSE(box.Dropped());
    EXPECT_EQ(box.Text(), "c");
    box.OnPress(10, 5);
    EXPECT_EQ(box.OnPress(-5, -5), Effect::Typing);  // on the field's row: closes again
    EXPECT_FALSE(box.Dropped());
}

TEST(ValueEntryList, OutOfRangeSelectionMeansNoneAndAnEmptyListStaysSafe)
{
    EXPECT_EQ(ValueEntryBox::ListBox(IBox{0, 0, 24, 36}, {"a"}, 5).Selected(), -1);
    ValueEntryBox empty = ValueEntryBox::ListBox(IBox{0, 0, 24, 36}, {}, 0);
    EXPECT_EQ(empty.OnKey(EntryKey::Down, ""), Effect::Typing);
    EXPECT_EQ(empty.OnKey(EntryKey::End, ""), Effect::Typing);
    empty.OnPress(1, 1);
    EXPECT_EQ(empty.OnPress(1, 30), Effect::Ignored);
    PIX_MemBitmap pixels(0, 0, 4);
    empty.Paint(pixels);
    EXPECT_EQ(pixels.GetHeight(), empty.Area().H());
}
