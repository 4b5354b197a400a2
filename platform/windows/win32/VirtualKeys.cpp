#include "platform/windows/win32/VirtualKeys.h"

namespace win32 {

int EditorKeyForVirtualKey(unsigned virtualKey)
{
    switch (virtualKey) {
    case 0x20: return 0;  // space
    case 0x26: return 1;  // up
    case 0x28: return 2;  // down
    case 0x25: return 3;  // left
    case 0x27: return 4;  // right
    default: break;
    }
    if (virtualKey >= 0x30 && virtualKey <= 0x39)  // digits 0-9 -> 6-15
        return static_cast<int>(virtualKey) - 42;
    if (virtualKey >= 0x41 && virtualKey <= 0x5A)  // letters A-Z -> 16-41
        return static_cast<int>(virtualKey) - 49;
    // 0x61-0x7A are the keypad and function keys, not letters: the editor takes none of them.
    return -1;
}

}  // namespace win32
