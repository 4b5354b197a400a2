// Mouse, wheel and key messages reaching the controls with the right positions and modifiers,
// and the delayed end of a wheel edit.
#include "WinEditorFixture.h"

#include <windows.h>

namespace {

// Sets or clears the Alt key in this thread's key state, as the window reads it.
void SetAltDown(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_MENU] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

TEST_F(WinEditor, ButtonsDragAndDoubleClickReachTheControlWithModifiers)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(110, 120));
    EXPECT_EQ(GetCapture(), static_cast<HWND>(graphics->GetWindow()));
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, At(115, 90));
    // Outside every control but captured: still the knob's drag, with a signed position.
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(static_cast<WORD>(-20), 500));
    Send(WM_LBUTTONUP, 0, At(115, 90));
    EXPECT_NE(GetCapture(), static_cast<HWND>(graphics->GetWindow()));
    EXPECT_EQ(log, "knob.down(110,120,LS) knob.drag(115,90,LC) knob.drag(-20,500,L) knob.up(115,90,) ");

    log.clear();
    SetAltDown(true);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(250, 110));
    SetAltDown(false);
    Send(WM_LBUTTONUP, 0, At(250, 110));
    EXPECT_EQ(log, "list.dbl(250,110,LA) list.up(250,110,) ");
}

TEST_F(WinEditor, MovesWithoutCaptureAreNoDragAndMovesWithoutButtonsAreMouseOver)
{
    ReleaseCapture();
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(120, 120));
    EXPECT_EQ(log, "");
    Send(WM_MOUSEMOVE, 0, At(120, 120));
    Send(WM_MOUSEMOVE, MK_SHIFT, At(210, 110));
    EXPECT_EQ(log, "knob.over(120,120,) list.over(210,110,S) knob.out ");
    // Leaving the window tells every control.
    log.clear();
    Send(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(log, "bg.out knob.out list.out ");
}

TEST_F(WinEditor, RightButtonPressesLikeTheLeftWhenNoTextBoxIsOpen)
{
    Send(WM_RBUTTONDOWN, MK_RBUTTON, At(130, 130));
    EXPECT_EQ(GetCapture(), static_cast<HWND>(graphics->GetWindow()));
    Send(WM_RBUTTONUP, 0, At(130, 130));
    // The right press on a typed parameter opens its text box.
    EXPECT_EQ(log, "knob.down(130,130,R) knob.up(130,130,) ");
    EXPECT_NE(graphics->TextBoxWindow(), nullptr);
}

TEST_F(WinEditor, WheelPositionIsScreenMinusWindowAndDeltaCountsWholeNotches)
{
    RECT r{};
    GetWindowRect(static_cast<HWND>(graphics->GetWindow()), &r);
    const LPARAM overKnob = At(r.left + 120, r.top + 130);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), overKnob);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-119)), overKnob);
    EXPECT_EQ(log, "");
    EXPECT_EQ(host.log, "");
    Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-240)), overKnob);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 359), overKnob);
    EXPECT_EQ(log, "knob.wheel-2(120,130,S) knob.wheel2(120,130,) ");
}

TEST_F(WinEditor, WheelEditEndsWhenTheCountdownExpires)
{
    RECT r{};
    GetWindowRect(static_cast<HWND>(graphics->GetWindow()), &r);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), At(r.left + 120, r.top + 130));
    EXPECT_EQ(graphics->ParamEditCountdown(), 12);
    Tick(11);
    EXPECT_EQ(host.log.find("F"), std::string::npos);
    EXPECT_EQ(graphics->ParamEditCountdown(), 1);
    Tick();
    EXPECT_EQ(graphics->ParamEditCountdown(), 0);
    EXPECT_EQ(host.log.substr(host.log.size() - 2), "F ");
    host.log.clear();
    Tick(3);
    EXPECT_EQ(host.log, "");
}

TEST_F(WinEditor, ClosingDuringTheWheelCountdownSendsTheEndOfEditAtOnce)
{
    RECT r{};
    GetWindowRect(static_cast<HWND>(graphics->GetWindow()), &r);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), At(r.left + 120, r.top + 130));
    Tick(2);
    ASSERT_EQ(graphics->ParamEditCountdown(), 10);
    host.log.clear();
    graphics->CloseWindow();
    EXPECT_EQ(host.log, "F ");
    EXPECT_EQ(graphics->ParamEditCountdown(), 0);
    // Opening again carries no stale countdown into the new window.
    ASSERT_NE(graphics->OpenWindow(parent->Handle()), nullptr);
    Tick(15);
    EXPECT_EQ(host.log, "F ");
}

TEST_F(WinEditor, DestroyingTheEditorDuringTheCountdownSendsTheEndOfEdit)
{
    RECT r{};
    GetWindowRect(static_cast<HWND>(graphics->GetWindow()), &r);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), At(r.left + 120, r.top + 130));
    host.log.clear();
    graphics.reset();
    EXPECT_EQ(host.log, "F ");
}

TEST_F(WinEditor, MappedKeysGoToTheControlUnderTheCursorAndOthersNowhere)
{
    HWND hWnd = static_cast<HWND>(graphics->GetWindow());
    POINT p{130, 130};
    ClientToScreen(hWnd, &p);
    ASSERT_TRUE(SetCursorPos(p.x, p.y));
    POINT now{};
    GetCursorPos(&now);
    if (now.x != p.x || now.y != p.y)
        GTEST_SKIP() << "the display does not move the cursor";
    Send(WM_KEYDOWN, 'A', 0);
    Send(WM_KEYDOWN, VK_UP, 0);
    Send(WM_KEYDOWN, '7', 0);
    Send(WM_KEYDOWN, VK_F1, 0);
    Send(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(log, "knob.key16 knob.key1 knob.key13 ");
}

TEST_F(WinEditor, MouseActivationFocusesTheEditorAndPaintingDrawsTheUpdateRegion)
{
    HWND hWnd = static_cast<HWND>(graphics->GetWindow());
    SetFocus(static_cast<HWND>(parent->Handle()));
    EXPECT_EQ(Send(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent->Handle()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_ACTIVATE);
    EXPECT_EQ(GetFocus(), hWnd);

    UpdateWindow(hWnd);
    const int knobDraws = knob->draws;
    const int listDraws = list->draws;
    const RECT inKnob{105, 105, 115, 115};
    InvalidateRect(hWnd, &inKnob, FALSE);
    UpdateWindow(hWnd);
    EXPECT_EQ(knob->draws, knobDraws + 1);
    EXPECT_EQ(list->draws, listDraws);
    RECT left{};
    EXPECT_FALSE(GetUpdateRect(hWnd, &left, FALSE));
}

TEST_F(WinEditor, TimerMessagesOfOtherIdsAreNoTick)
{
    knob->SetDirty(false);
    UpdateWindow(static_cast<HWND>(graphics->GetWindow()));
    Send(WM_TIMER, 7, 0);
    EXPECT_TRUE(knob->IsDirty());
    Tick();
    EXPECT_FALSE(knob->IsDirty());
}

TEST_F(WinEditor, AWindowStretchedBeyondTheEditorCarriesTheEditorsEdgeOn)
{
    HWND hWnd = static_cast<HWND>(graphics->GetWindow());
    UpdateWindow(hWnd);
    // A host stretches the editor's 400 x 300 window to 460 x 360.
    SetWindowPos(hWnd, nullptr, 0, 0, 460, 360, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(hWnd);
    Pump();
    HDC dc = GetDC(hWnd);
    ASSERT_NE(dc, nullptr);
    const COLORREF edge = RGB(40, 80, 120);
    EXPECT_EQ(GetPixel(dc, 430, 20), edge);
    EXPECT_EQ(GetPixel(dc, 20, 330), edge);
    EXPECT_EQ(GetPixel(dc, 455, 355), edge);
    ReleaseDC(hWnd, dc);
}
