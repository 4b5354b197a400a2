#include "tools/hostkit/win32/Win32InputSynthesizer.h"

#include <windows.h>

namespace {

// SendInput's absolute coordinates run 0 ... 65535 across the primary screen.
LONG Absolute(int pixel, int extent)
{
    if (extent <= 1)
        return 0;
    return static_cast<LONG>((static_cast<long long>(pixel) * 65535 + (extent - 1) / 2) / (extent - 1));
}

}  // namespace

std::unique_ptr<Win32InputSynthesizer> Win32InputSynthesizer::Open()
{
    if (GetSystemMetrics(SM_CXSCREEN) <= 0 || GetSystemMetrics(SM_CYSCREEN) <= 0)
        return nullptr;
    return std::unique_ptr<Win32InputSynthesizer>(new Win32InputSynthesizer());
}

void Win32InputSynthesizer::SendMouse(unsigned flags, int data)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Every event carries the position, so that a press lands where the last move went even when
    // the system has not moved the pointer yet.
    input.mi.dx = Absolute(screenX, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Absolute(screenY, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.mouseData = static_cast<DWORD>(data);
    SendInput(1, &input, sizeof input);
}

void Win32InputSynthesizer::SendKey(unsigned virtualKey, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

void Win32InputSynthesizer::MoveTo(void* window, int x, int y)
{
    POINT p{x, y};
    if (window)
        ClientToScreen(static_cast<HWND>(window), &p);
    screenX = p.x;
    screenY = p.y;
    SendMouse(0);
}

void Win32InputSynthesizer::Press(Button button)
{
    SendMouse(button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
}

void Win32InputSynthesizer::Release(Button button)
{
    SendMouse(button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
}

void Win32InputSynthesizer::Click(Button button)
{
    Press(button);
    Release(button);
}

void Win32InputSynthesizer::DoubleClick(Button button)
{
    Click(button);
    Click(button);
}

void Win32InputSynthesizer::Wheel(int delta) { SendMouse(MOUSEEVENTF_WHEEL, delta); }

void Win32InputSynthesizer::Key(unsigned virtualKey)
{
    SendKey(virtualKey, true);
    SendKey(virtualKey, false);
}

void Win32InputSynthesizer::Type(const char* text)
{
    for (const char* p = text; p && *p; ++p) {
        const SHORT scan = VkKeyScanA(*p);
        if (scan == -1)
            continue;
        const bool shifted = (scan & 0x100) != 0;
        if (shifted)
            SendKey(VK_SHIFT, true);
        Key(static_cast<unsigned>(scan & 0xFF));
        if (shifted)
            SendKey(VK_SHIFT, false);
    }
}
