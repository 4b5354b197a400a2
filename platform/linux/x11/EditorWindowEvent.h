// One input or window event of the editor window, freed from the window system's own types so
// the graphics object can act on it without including them.
#pragma once

#include "graphics/IBox.h"
#include "graphics/IMouseState.h"

// Keys the value-entry box acts on.
enum class EntryKey {
    Unmapped,
    Text,
    Enter,
    Escape,
    Backspace,
    Delete,
    Left,
    Right,
    Home,
    End,
    Up,
    Down
};

struct EditorWindowEvent {
    enum class Kind {
        Press,  // a mouse button went down (4/5: one wheel notch up/down)
        Release,  // a mouse button went up
        Motion,  // the pointer moved
        Leave,  // the pointer left the editor
        Key,  // a key went down
        FocusGained,  // the keyboard focus arrived
        FocusLost,  // the keyboard focus left
        Exposure,  // a region must be repainted
        Destroyed,  // the window was destroyed by someone else (its parent went away)
        ConnectionLost,  // the display connection broke; the window is unusable
    };
    Kind kind = Kind::Motion;
    bool inEntry = false;  // the value-entry box received it rather than the editor
    int x = 0;  // pointer position in the receiving window's pixels
    int y = 0;
    int button = 0;  // Press/Release: 1 left, 2 middle, 3 right, 4/5 wheel
    unsigned long time = 0;  // server time in milliseconds
    IMouseState mod;  // buttons and modifiers as they are after the event
    int editorKey = -1;  // Key: the editor's key code, -1 when it has none
    EntryKey entryKey = EntryKey::Unmapped;
    char text[8] = {};  // Key with EntryKey::Text: the typed character(s), terminated
    IBox area;  // Exposure: the region
    bool lastOfSeries = true;  // Exposure: no more exposures of this series follow
};
