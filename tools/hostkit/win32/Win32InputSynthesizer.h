// Win32InputSynthesizer: drives the mouse and keyboard of the desktop as a user would, through
// the system's input queue (SendInput), for tests of the editor window. The messages reach the
// windows once their thread pumps.
#pragma once

#include <memory>

class Win32InputSynthesizer {
public:
    enum class Button {
        Left,
        Right
    };

    // Null when there is no desktop to send input to.
    static std::unique_ptr<Win32InputSynthesizer> Open();
    Win32InputSynthesizer(const Win32InputSynthesizer&) = delete;
    Win32InputSynthesizer& operator=(const Win32InputSynthesizer&) = delete;

    // Moves the pointer to the client point (x, y) of window (an HWND).
    void MoveTo(void* window, int x, int y);
    void Press(Button button);
    void Release(Button button);
    void Click(Button button);
    // Two clicks at the pointer, within the system's double-click time.
    void DoubleClick(Button button);
    // Turns the wheel by delta (120 is one notch, upwards positive).
    void Wheel(int delta);
    // Presses and releases the key of a virtual-key code (0x0D Enter, 0x26 up, 'A' ...).
    void Key(unsigned virtualKey);
    // Types printable ASCII text, holding Shift where the keyboard layout needs it.
    void Type(const char* text);

private:
    Win32InputSynthesizer() = default;
    void SendMouse(unsigned flags, int data = 0);
    void SendKey(unsigned virtualKey, bool down);

    int screenX = 0;
    int screenY = 0;
};
