#include "tools/hostkit/win32/Win32HostWindow.h"

#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"VibrascendHostWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The host's class stays registered for the life of the process, as a host program's does.
bool RegisterHostClass(WNDPROC procedure)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &existing))
        return true;
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = procedure;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    c.lpszClassName = kClassName;
    return RegisterClassExW(&c) != 0;
}

RECT OuterRect(int width, int height)
{
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    return r;
}

}  // namespace

// The host window's procedure: forgets the window once it is destroyed (by the user's close or
// by the owner).
struct HostWindowProcedure {
    static LRESULT CALLBACK Run(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

LRESULT CALLBACK HostWindowProcedure::Run(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32HostWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_DESTROY) {
        self->open = false;
        self->window = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::unique_ptr<Win32HostWindow> Win32HostWindow::Open(const char* title, int width, int height, int left, int top)
{
    if (width <= 0 || height <= 0 || !RegisterHostClass(&HostWindowProcedure::Run))
        return nullptr;
    std::unique_ptr<Win32HostWindow> self(new Win32HostWindow());
    const RECT outer = OuterRect(width, height);
    HWND hwnd =
        CreateWindowExA(0, "VibrascendHostWindow", title ? title : "", kStyle, left, top, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), self.get());
    if (!hwnd)
        return nullptr;
    self->window = hwnd;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    SetForegroundWindow(hwnd);
    self->Pump();
    return self;
}

Win32HostWindow::~Win32HostWindow()
{
    if (window)
        DestroyWindow(static_cast<HWND>(window));
    // Let the destruction's messages go before the object is gone.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool Win32HostWindow::Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return open;
}

bool Win32HostWindow::PumpFor(int ms)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms > 0 ? ms : 0);
    Pump();
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        Pump();
    }
    return open;
}

void Win32HostWindow::Resize(int width, int height)
{
    if (!window || width <= 0 || height <= 0)
        return;
    const RECT outer = OuterRect(width, height);
    SetWindowPos(static_cast<HWND>(window), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
}

void Win32HostWindow::ClientToScreen(int& x, int& y) const
{
    POINT p{x, y};
    if (window)
        ::ClientToScreen(static_cast<HWND>(window), &p);
    x = p.x;
    y = p.y;
}

std::vector<std::uint32_t> Win32HostWindow::Capture(int& width, int& height)
{
    width = height = 0;
    HWND hwnd = static_cast<HWND>(window);
    RECT client{};
    if (!hwnd || !GetClientRect(hwnd, &client) || client.right <= 0 || client.bottom <= 0)
        return {};
    const int w = client.right, h = client.bottom;
    // The window's own device context reads the pixels the window and its children show;
    // printing the window into a bitmap gives nothing of the children under Wine.
    HDC source = GetDC(hwnd);
    if (!source)
        return {};
    std::vector<std::uint32_t> pixels;
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = memory ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        GdiFlush();
        if (BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY)) {
            GdiFlush();
            const auto* read = static_cast<const std::uint32_t*>(bits);
            pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
            for (size_t i = 0; i < pixels.size(); ++i)
                pixels[i] = 0xFF000000u | (read[i] & 0xFFFFFFu);
            width = w;
            height = h;
        }
        SelectObject(memory, previous);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(hwnd, source);
    return pixels;
}
