#include "platform/windows/win32/IGraphicsWin.h"

#include "controls/IControl.h"
#include "framework/IParamDef.h"
#include "graphics/PIX_SysBitmap.h"
#include "graphics/PngDecoder.h"
#include "platform/EmbeddedResources.h"
#include "platform/windows/win32/VirtualKeys.h"

#include <windows.h>
#include <windowsx.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kWindowClass[] = "IFxWndClass";
const char kWindowTitle[] = "IFx";

// Shared by every editor of the process, on the host's GUI thread: the open windows (the class
// lives while there are any) and the frame rate of the window being created.
int openWindowCount = 0;
int creatingFps = 0;

HWND AsWindow(void* handle) { return static_cast<HWND>(handle); }

IGraphicsWin* EditorOf(HWND hWnd)
{
    auto* graphics = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    return graphics && graphics->GetWindow() == hWnd ? graphics : nullptr;
}

LRESULT CALLBACK EditorWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (IGraphicsWin* graphics = EditorOf(hWnd))
        return static_cast<LRESULT>(graphics->HandleMessage(message, wParam, lParam));
    if (message == WM_CREATE) {
        // The object learns its window here, before CreateWindowEx returns, so that the messages
        // of the creation itself already reach it.
        auto* graphics = static_cast<IGraphicsWin*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (graphics)
            return static_cast<LRESULT>(graphics->HandleMessage(message, reinterpret_cast<WPARAM>(hWnd), lParam));
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK TextBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    IGraphicsWin* graphics = EditorOf(GetParent(hWnd));
    if (!graphics || graphics->TextBoxWindow() != hWnd)
        return DefWindowProcW(hWnd, message, wParam, lParam);
    return static_cast<LRESULT>(graphics->HandleTextBoxMessage(message, wParam, lParam));
}

bool RegisterWindowClass(HINSTANCE module)
{
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = EditorWindowProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    // A class left behind by a window its host destroyed is still ours.
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::wstring Widen(const char* text)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

std::string Narrow(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), n, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(n - 1));
    return narrow;
}

// The folder of a module's file, with its trailing backslash; empty when the name cannot be
// read whole.
std::string FolderOfModule(HMODULE module)
{
    char path[257] = {};
    const DWORD n = GetModuleFileNameA(module, path, 256);
    if (n == 0 || n >= 256)
        return {};
    const std::string name(path, n);
    const size_t slash = name.rfind('\\');
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

IMouseState MouseStateOf(WPARAM wParam)
{
    const unsigned keys = GET_KEYSTATE_WPARAM(wParam);
    IMouseState mod;
    mod.L = (keys & MK_LBUTTON) != 0;
    mod.R = (keys & MK_RBUTTON) != 0;
    mod.S = (keys & MK_SHIFT) != 0;
    mod.C = (keys & MK_CONTROL) != 0;
    mod.A = GetKeyState(VK_MENU) < 0;
    return mod;
}

// A window that is a child (and not an MDI child) grows or shrinks with the editor.
bool FollowsEditorSize(HWND hWnd)
{
    return hWnd && (GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) &&
           !(GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void GrowWindow(HWND hWnd, int dw, int dh)
{
    RECT r;
    if (!GetWindowRect(hWnd, &r))
        return;
    SetWindowPos(hWnd, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

IGraphicsWin::IGraphicsWin(IEditHost* host, int width, int height, int fps)
    : IGraphics(host, width, height, fps), module(const_cast<void*>(platform::ThisModule()))
{
}

IGraphicsWin::~IGraphicsWin() { CloseWindow(); }

int IGraphicsWin::OpenWindowCount() { return openWindowCount; }

bool IGraphicsWin::PresentRegion(const IBox& rect)
{
    const PIX_SysBitmap* back = BackBuffer();
    HDC source = back ? static_cast<HDC>(back->GetDC()) : nullptr;
    if (!window)
        return true;
    HWND hWnd = AsWindow(window);
    if (painting) {
        PAINTSTRUCT ps;
        HDC target = BeginPaint(hWnd, &ps);
        if (target && source)
            BitBlt(target, rect.L, rect.T, rect.W(), rect.H(), source, rect.L, rect.T, SRCCOPY);
        EndPaint(hWnd, &ps);
        presented = true;
    } else if (source) {
        // A frame drawn outside the paint message (a snapshot) goes straight to the window,
        // leaving the pending update region alone.
        if (HDC target = GetDC(hWnd)) {
            BitBlt(target, rect.L, rect.T, rect.W(), rect.H(), source, rect.L, rect.T, SRCCOPY);
            ReleaseDC(hWnd, target);
        }
    }
    const IBox beyond = CarriedPastEdges(rect);
    if (!(beyond == rect))
        PaintBeyond(beyond);
    return true;
}

void IGraphicsWin::PaintBeyond(const IBox& area)
{
    const PIX_SysBitmap* back = BackBuffer();
    HDC source = back ? static_cast<HDC>(back->GetDC()) : nullptr;
    const int w = Width();
    const int h = Height();
    if (!window || !source || w <= 0 || h <= 0)
        return;
    HWND hWnd = AsWindow(window);
    RECT client{};
    GetClientRect(hWnd, &client);
    const IBox shown = area.Intersect(IBox{0, 0, static_cast<int>(client.right), static_cast<int>(client.bottom)});
    if (shown.IsEmpty() || (shown.R <= w && shown.B <= h))
        return;
    HDC target = GetDC(hWnd);
    if (!target)
        return;
    // Stretching one pixel wide or high repeats it exactly.
    SetStretchBltMode(target, COLORONCOLOR);
    const int right = std::max(shown.L, w);
    const int below = std::max(shown.T, h);
    if (shown.R > w && std::min(shown.B, h) > shown.T) {
        const int rows = std::min(shown.B, h) - shown.T;
        StretchBlt(target, right, shown.T, shown.R - right, rows, source, w - 1, shown.T, 1, rows, SRCCOPY);
    }
    if (shown.B > h && std::min(shown.R, w) > shown.L) {
        const int columns = std::min(shown.R, w) - shown.L;
        StretchBlt(target, shown.L, below, columns, shown.B - below, source, shown.L, h - 1, columns, 1, SRCCOPY);
    }
    if (shown.R > w && shown.B > h)
        StretchBlt(target, right, below, shown.R - right, shown.B - below, source, w - 1, h - 1, 1, 1, SRCCOPY);
    ReleaseDC(hWnd, target);
}

std::string IGraphicsWin::HostFolder() const { return FolderOfModule(nullptr); }

std::string IGraphicsWin::LibraryFolder() const
{
    return module ? FolderOfModule(static_cast<HMODULE>(module)) : std::string();
}

bool IGraphicsWin::OpenURL(const char* url, const char* caption, const char* confirmText, const char* errorText)
{
    if (!url || !*url)
        return false;
    HWND owner = AsWindow(window);
    if (confirmText && MessageBoxA(owner, confirmText, caption, MB_YESNO) != IDYES)
        return false;
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32)
        return true;
    if (errorText)
        MessageBoxA(owner, errorText, caption, MB_OK);
    return false;
}

void IGraphicsWin::SetParamEditCountdown(int ticks) { paramEditCountdown = ticks; }

void IGraphicsWin::CancelParamEditCountdown() { paramEditCountdown = 0; }

std::unique_ptr<PIX_IBitmap> IGraphicsWin::DecodeImage(int resourceId, const char*)
{
    return pix::DecodePngResource(module, resourceId);
}

// ---- The window --------------------------------------------------------------------------------

void* IGraphicsWin::OpenWindow(void* parent)
{
    parentWindow = parent;
    int x = 0;
    int y = 0;
    int w = Width();
    int h = Height();
    if (window) {
        HWND old = AsWindow(window);
        RECT r;
        if (GetWindowRect(old, &r)) {
            MapWindowPoints(HWND_DESKTOP, GetParent(old), reinterpret_cast<POINT*>(&r), 2);
            x = r.left;
            y = r.top;
            w = r.right - r.left;
            h = r.bottom - r.top;
        }
        CloseWindow();
    }
    HINSTANCE instance = static_cast<HINSTANCE>(module);
    if (openWindowCount++ == 0 && !RegisterWindowClass(instance)) {
        --openWindowCount;
        return nullptr;
    }
    creatingFps = FrameRate();
    HWND created = CreateWindowExA(0, kWindowClass, kWindowTitle, WS_CHILD | WS_VISIBLE, x, y, w, h, AsWindow(parent),
                                   nullptr, instance, this);
    if (!created) {
        window = nullptr;
        if (--openWindowCount == 0)
            UnregisterClassA(kWindowClass, instance);
        return nullptr;
    }
    window = created;
    if (IControl* background = GetControl(0))
        background->SetDirty(false);
    return window;
}

void IGraphicsWin::CloseWindow()
{
    if (!window)
        return;
    if (paramEditCountdown > 0) {
        paramEditCountdown = 0;
        if (Host())
            Host()->FlushDelayedParamEdit();
    }
    HWND closing = AsWindow(window);
    HWND box = AsWindow(textBox);
    // Forgotten first: the messages of the destruction find no editor behind the window.
    window = nullptr;
    textBox = nullptr;
    textBoxControl = nullptr;
    textBoxParam = nullptr;
    textBoxState = kTextBoxIdle;
    if (box && textBoxPrevProc)
        SetWindowLongPtrW(box, GWLP_WNDPROC, textBoxPrevProc);
    textBoxPrevProc = 0;
    DestroyWindow(closing);
    if (textBoxFont) {
        DeleteObject(static_cast<HFONT>(textBoxFont));
        textBoxFont = nullptr;
    }
    if (--openWindowCount == 0)
        UnregisterClassA(kWindowClass, static_cast<HINSTANCE>(module));
}

void IGraphicsWin::ForgetDestroyedWindow()
{
    window = nullptr;
    textBox = nullptr;
    textBoxControl = nullptr;
    textBoxParam = nullptr;
    textBoxPrevProc = 0;
    textBoxState = kTextBoxIdle;
    if (textBoxFont) {
        DeleteObject(static_cast<HFONT>(textBoxFont));
        textBoxFont = nullptr;
    }
    if (paramEditCountdown > 0) {
        paramEditCountdown = 0;
        if (Host())
            Host()->FlushDelayedParamEdit();
    }
    // The window still exists while it is being destroyed, so this may leave the class
    // registered; the next registration then finds it in place.
    if (--openWindowCount == 0)
        UnregisterClassA(kWindowClass, static_cast<HINSTANCE>(module));
}

void IGraphicsWin::Resize(int width, int height)
{
    const int dw = width - Width();
    const int dh = height - Height();
    IGraphics::Resize(width, height);
    if (!window)
        return;
    HWND hWnd = AsWindow(window);
    GrowWindow(hWnd, dw, dh);
    HWND parent = GetParent(hWnd);
    if (FollowsEditorSize(parent)) {
        GrowWindow(parent, dw, dh);
        HWND grandparent = GetParent(parent);
        if (FollowsEditorSize(grandparent))
            GrowWindow(grandparent, dw, dh);
    }
    InvalidateRect(hWnd, nullptr, FALSE);
}

std::intptr_t IGraphicsWin::HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (message == WM_CREATE) {
        // Reached before CreateWindowEx returns; wParam carries the new window.
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        window = hWnd;
        timerPeriod = static_cast<unsigned>(1000.0 / (creatingFps > 0 ? creatingFps : 24));
        SetTimer(hWnd, kTimerId, timerPeriod, nullptr);
        SetFocus(hWnd);
        return 0;
    }
    HWND hWnd = AsWindow(window);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_PAINT: {
        RECT r;
        if (GetUpdateRect(hWnd, &r, FALSE)) {
            painting = true;
            presented = false;
            Draw(IBox{r.left, r.top, r.right, r.bottom});
            painting = false;
            // Nothing to draw still answers the paint message.
            if (!presented)
                ValidateRect(hWnd, &r);
            PaintBeyond(IBox{r.left, r.top, r.right, r.bottom});
        }
        return 0;
    }
    case WM_CLOSE: CloseWindow(); return 0;
    case WM_DESTROY: ForgetDestroyedWindow(); return 0;
    case WM_MOUSEACTIVATE: SetFocus(hWnd); return MA_ACTIVATE;
    case WM_KEYDOWN: {
        // Escape closes what is open: the value entry on the next tick, else the editor's lists.
        if (wParam == VK_ESCAPE) {
            if (textBox)
                textBoxState = kTextBoxCancel;
            else
                DismissLists();
            return 0;
        }
        const int key = win32::EditorKeyForVirtualKey(static_cast<unsigned>(wParam));
        if (key >= 0) {
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(hWnd, &p);
            OnKeyDown(p.x, p.y, key);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam != kTimerId)
            break;
        Tick();
        return 0;
    case WM_MOUSEMOVE: {
        const IMouseState mod = MouseStateOf(wParam);
        if (mod.L || mod.R) {
            if (GetCapture() == hWnd)
                OnMouseDrag(x, y, mod);
        } else if (OnMouseOver(x, y, mod)) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = hWnd;
            track.dwHoverTime = HOVER_DEFAULT;
            TrackMouseEvent(&track);
        }
        return 0;
    }
    case WM_RBUTTONDOWN:
        if (textBox) {
            textBoxState = kTextBoxCancel;
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (textBox)
            textBoxState = kTextBoxCommit;
        SetCapture(hWnd);
        OnMouseDown(x, y, MouseStateOf(wParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        ReleaseCapture();
        OnMouseUp(x, y, MouseStateOf(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        if (OnMouseDblClick(x, y, MouseStateOf(wParam)))
            SetCapture(hWnd);
        return 0;
    case WM_MOUSEWHEEL: {
        RECT r{};
        GetWindowRect(hWnd, &r);
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        OnMouseWheel(x - r.left, y - r.top, MouseStateOf(wParam), notches);
        return 0;
    }
    case WM_MOUSELEAVE: OnMouseOut(); return 0;
    default: break;
    }
    return static_cast<std::intptr_t>(DefWindowProcA(hWnd, message, wParam, lParam));
}

// ---- Frames ------------------------------------------------------------------------------------

void IGraphicsWin::Tick()
{
    UpdateFromHost();
    if (textBox && textBoxState != kTextBoxIdle) {
        const int request = textBoxState;
        textBoxState = kTextBoxIdle;
        if (request == kTextBoxCommit || request == kTextBoxCancel) {
            // The control may have gone with the editor's controls since the box opened.
            IControl* control = HoldsControl(textBoxControl) ? textBoxControl : nullptr;
            if (request == kTextBoxCommit && control) {
                wchar_t text[1001] = {};
                GetWindowTextW(AsWindow(textBox), text, 1001);
                ApplyEnteredText(control, textBoxParam, Narrow(text).c_str());
            }
            if (control)
                control->OnTextEntryClosed();
            CloseTextBox();
        }
    }
    if (!window)
        return;
    HWND hWnd = AsWindow(window);
    IBox dirty;
    if (IsDirty(dirty)) {
        const RECT r{dirty.L, dirty.T, dirty.R, dirty.B};
        InvalidateRect(hWnd, &r, FALSE);
        if (textBox) {
            RECT box{};
            GetClientRect(AsWindow(textBox), &box);
            MapWindowPoints(AsWindow(textBox), hWnd, reinterpret_cast<POINT*>(&box), 2);
            ValidateRect(hWnd, &box);
        }
        UpdateWindow(hWnd);
    }
    if (paramEditCountdown > 0 && --paramEditCountdown == 0 && Host())
        Host()->FlushDelayedParamEdit();
}

// ---- Typed value entry -------------------------------------------------------------------------

void IGraphicsWin::OpenValueEntry(IControl* control, const IParamDef* param, bool centred)
{
    if (!control || !param || textBox || !window)
        return;
    const IBox& r = control->Rect();
    const int cx = static_cast<int>((static_cast<float>(r.L) + static_cast<float>(r.R)) * 0.5f);
    const int cy = static_cast<int>((static_cast<float>(r.T) + static_cast<float>(r.B)) * 0.5f);
    char current[kParamTextSize];
    param->FormatValue(param->Value(), false, current);
    const int count = param->ValueTextCount();
    HWND parent = AsWindow(window);
    HINSTANCE instance = static_cast<HINSTANCE>(module);
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextBoxId));
    HWND box = nullptr;
    bool isEdit = false;
    if (count == 0 || (param->Kind() != kParamEnum && param->Kind() != kParamBool)) {
        isEdit = true;
        int left = r.L, top = r.T, width = r.W(), height = r.H();
        DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE;
        if (centred) {
            char widest[kParamTextSize];
            param->FormatValue(1.0, true, widest);
            width = std::max(7 * static_cast<int>(std::strlen(widest)) + 6, 32);
            height = 16;
            left = cx - width / 2;
            top = cy - 8;
            style |= ES_CENTER;
        }
        box = CreateWindowExW(0, L"EDIT", Widen(current).c_str(), style, left, top, width, height, parent, id, instance,
                              nullptr);
    } else {
        std::vector<std::wstring> entries;
        size_t longest = 0;
        int selected = -1;
        for (int i = 0; i < count; ++i) {
            const ParamValueText* entry = param->ValueTextAt(i);
            const char* text = entry ? entry->text : "";
            entries.push_back(Widen(text));
            longest = std::max(longest, entries.back().size());
            if (std::strcmp(text, current) == 0)
                selected = i;
        }
        int width = 24 + 8 * static_cast<int>(longest);
        int height = 36 * (count + 1);
        int left = cx - width / 2;
        const int top = cy;
        if (!centred) {
            left = r.L;
            width = r.W();
            height = r.H();
        }
        box = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, left, top, width, height,
                              parent, id, instance, nullptr);
        if (box) {
            for (const std::wstring& entry : entries)
                SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
            SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        }
    }
    if (!box)
        return;
    if (isEdit)
        SendMessageW(box, EM_SETSEL, 0, -1);
    textBox = box;
    textBoxControl = control;
    textBoxParam = param;
    textBoxState = kTextBoxIdle;
    textBoxPrevProc = SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc));
    SetWindowLongPtrW(box, GWLP_USERDATA, static_cast<LONG_PTR>(kTextBoxMarker));
    textBoxFont = CreateFontA(14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    if (textBoxFont)
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(textBoxFont), TRUE);
    // Focused once it hears its own focus message, so that it starts in the typing state.
    SetFocus(box);
}

std::intptr_t IGraphicsWin::HandleTextBoxMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    HWND box = AsWindow(textBox);
    switch (message) {
    case WM_SETFOCUS: textBoxState = kTextBoxTyping; break;
    case WM_KILLFOCUS: textBoxState = kTextBoxIdle; break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            char className[16] = {};
            GetClassNameA(box, className, sizeof className);
            if (lstrcmpiA(className, "EDIT") == 0)
                SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            textBoxState = kTextBoxCommit;
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            textBoxState = kTextBoxCancel;
            return 0;
        }
        textBoxState = kTextBoxTyping;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 1) {
            textBoxState = kTextBoxCommit;
            return 0;
        }
        break;
    default: break;
    }
    return static_cast<std::intptr_t>(
        CallWindowProcW(reinterpret_cast<WNDPROC>(textBoxPrevProc), box, message, wParam, lParam));
}

void IGraphicsWin::CloseTextBox()
{
    HWND box = AsWindow(textBox);
    if (box && textBoxPrevProc)
        SetWindowLongPtrW(box, GWLP_WNDPROC, textBoxPrevProc);
    textBox = nullptr;
    textBoxControl = nullptr;
    textBoxParam = nullptr;
    textBoxPrevProc = 0;
    if (box)
        DestroyWindow(box);
    if (textBoxFont) {
        DeleteObject(static_cast<HFONT>(textBoxFont));
        textBoxFont = nullptr;
    }
    if (window)
        SetFocus(AsWindow(window));
}
