// The editor's key codes for X keysyms.
#include "platform/linux/x11/EditorKeys.h"

#include <gtest/gtest.h>

TEST(EditorKeys, MapsSpaceArrowsDigitsAndLettersOnly)
{
    // Keysym values of the X protocol: Latin-1 keys are their own characters.
    EXPECT_EQ(EditorKeyCode(' '), 0);
    EXPECT_EQ(EditorKeyCode(0xFF52), 1);  // Up
    EXPECT_EQ(EditorKeyCode(0xFF54), 2);  // Down
    EXPECT_EQ(EditorKeyCode(0xFF51), 3);  // Left
    EXPECT_EQ(EditorKeyCode(0xFF53), 4);  // Right
    EXPECT_EQ(EditorKeyCode('0'), 6);
    EXPECT_EQ(EditorKeyCode('9'), 15);
    EXPECT_EQ(EditorKeyCode('a'), 16);
    EXPECT_EQ(EditorKeyCode('A'), 16);
    EXPECT_EQ(EditorKeyCode('z'), 41);
    EXPECT_EQ(EditorKeyCode('Z'), 41);
    for (unsigned long other : {0UL, 0x2FUL, 0x3AUL, 0x40UL, 0x5BUL, 0x60UL, 0x7BUL, 0xFFBEUL /* F1 */,
                                0xFFB1UL /* keypad 1 */, 0xFF0DUL /* Return */, ~0UL})
        EXPECT_EQ(EditorKeyCode(other), -1) << other;
}
