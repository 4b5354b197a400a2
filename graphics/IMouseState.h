// IMouseState: buttons and modifier keys as they were at a mouse event.
#pragma once

struct IMouseState {
    bool L = false;  // left button
    bool R = false;  // right button
    bool S = false;  // Shift
    bool C = false;  // Control
    bool A = false;  // Alt
};
