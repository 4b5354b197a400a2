// The editor's key codes for virtual keys, including the neighbours of every mapped range.
#include "platform/windows/win32/VirtualKeys.h"

#include <gtest/gtest.h>

using win32::EditorKeyForVirtualKey;

TEST(VirtualKeys, SpaceArrowsDigitsAndLettersMapAndTheirNeighboursDoNot)
{
    EXPECT_EQ(EditorKeyForVirtualKey(0x20), 0);
    EXPECT_EQ(EditorKeyForVirtualKey(0x26), 1);
    EXPECT_EQ(EditorKeyForVirtualKey(0x28), 2);
    EXPECT_EQ(EditorKeyForVirtualKey(0x25), 3);
    EXPECT_EQ(EditorKeyForVirtualKey(0x27), 4);
    for (unsigned k = 0x30; k <= 0x39; ++k)
        EXPECT_EQ(EditorKeyForVirtualKey(k), static_cast<int>(k - 0x30) + 6) << k;
    for (unsigned k = 0x41; k <= 0x5A; ++k)
        EXPECT_EQ(EditorKeyForVirtualKey(k), static_cast<int>(k - 0x41) + 16) << k;
    for (unsigned k : {0x1Fu, 0x21u, 0x24u, 0x29u, 0x2Fu, 0x3Au, 0x40u, 0x5Bu, 0x0Du, 0x1Bu, 0u, 0xFFFFu})
        EXPECT_EQ(EditorKeyForVirtualKey(k), -1) << k;
}

TEST(VirtualKeys, KeypadAndFunctionKeysAreNotLetters)
{
    for (unsigned k = 0x60; k <= 0x87; ++k)
        EXPECT_EQ(EditorKeyForVirtualKey(k), -1) << k;
}

TEST(VirtualKeys, NoKeyProducesCodeFiveAndEveryCodeComesFromOneKey)
{
    int uses[42] = {};
    for (unsigned k = 0; k < 0x10000; ++k) {
        const int code = EditorKeyForVirtualKey(k);
        ASSERT_GE(code, -1);
        ASSERT_LE(code, 41);
        if (code >= 0)
            ++uses[code];
    }
    EXPECT_EQ(uses[5], 0);
    for (int code = 0; code < 42; ++code) {
        if (code != 5) {
            EXPECT_EQ(uses[code], 1) << code;
        }
    }
}
