// X11InputSynthesizer: drives the pointer and keyboard of the X server as a user would, through
// the XTest extension, for tests of the editor window.
#pragma once

#include <memory>

struct _XDisplay;

class X11InputSynthesizer {
public:
    // Null without a display or without the XTest extension.
    static std::unique_ptr<X11InputSynthesizer> Open();
    ~X11InputSynthesizer();
    X11InputSynthesizer(const X11InputSynthesizer&) = delete;
    X11InputSynthesizer& operator=(const X11InputSynthesizer&) = delete;

    // Moves the pointer to (x, y) of window.
    void MoveTo(unsigned long window, int x, int y);
    void Press(int button);
    void Release(int button);
    void Click(int button);
    // Presses and releases the key of keysym, holding Shift when shifted.
    void Key(unsigned long keysym, bool shifted = false);
    void HoldKey(unsigned long keysym, bool down);
    // Presses and releases the key named like "Return", "Up" or "a"; unknown names do nothing.
    void KeyNamed(const char* name);
    // Types printable ASCII text that needs no Shift (digits, lower-case letters, '.', '-').
    void Type(const char* text);
    // Waits until the server has handled every synthesized event.
    void Sync();

private:
    X11InputSynthesizer() = default;
    _XDisplay* display = nullptr;
};
