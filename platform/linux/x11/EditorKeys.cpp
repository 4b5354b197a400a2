#include "platform/linux/x11/EditorKeys.h"

#include <X11/keysym.h>

int EditorKeyCode(unsigned long keysym)
{
    switch (keysym) {
    case XK_space: return 0;
    case XK_Up: return 1;
    case XK_Down: return 2;
    case XK_Left: return 3;
    case XK_Right: return 4;
    default: break;
    }
    if (keysym >= XK_0 && keysym <= XK_9)
        return 6 + static_cast<int>(keysym - XK_0);
    if (keysym >= XK_a && keysym <= XK_z)
        return 16 + static_cast<int>(keysym - XK_a);
    if (keysym >= XK_A && keysym <= XK_Z)
        return 16 + static_cast<int>(keysym - XK_A);
    return -1;
}
