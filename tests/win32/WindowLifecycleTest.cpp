// Opening and closing the editor window: the class lives exactly while windows are open, a
// reopened window keeps its place, failures stay balanced, the timer runs at the frame rate,
// resizing follows the editor and no window or GDI object outlives its editor.
#include "WinEditorFixture.h"

#include <windows.h>

namespace {

RECT PlaceInParent(HWND hWnd)
{
    RECT r{};
    GetWindowRect(hWnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hWnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(WinEditor, WindowIsAVisibleChildOfTheHostWithTheClassAndTitleOfTheEditor)
{
    HWND hWnd = static_cast<HWND>(graphics->GetWindow());
    ASSERT_TRUE(IsWindow(hWnd));
    EXPECT_TRUE(graphics->WindowIsOpen());
    EXPECT_EQ(GetParent(hWnd), static_cast<HWND>(parent->Handle()));
    EXPECT_EQ(graphics->ParentWindow(), parent->Handle());
    char name[32] = {};
    GetClassNameA(hWnd, name, sizeof name);
    EXPECT_STREQ(name, "IFxWndClass");
    GetWindowTextA(hWnd, name, sizeof name);
    EXPECT_STREQ(name, "IFx");
    const LONG style = GetWindowLongA(hWnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(GetClassLongA(hWnd, GCL_STYLE) & CS_DBLCLKS);
    EXPECT_EQ(GetClassLongPtrA(hWnd, GCLP_HBRBACKGROUND), 0);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(graphics.get()));
    const RECT r = PlaceInParent(hWnd);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_EQ(GetFocus(), hWnd);
}

TEST_F(WinEditor, ClassIsRegisteredWhileOpenAndReopeningKeepsPlaceAndSize)
{
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
    EXPECT_TRUE(ClassRegistered());
    HWND first = static_cast<HWND>(graphics->GetWindow());
    SetWindowPos(first, nullptr, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);

    HWND second = static_cast<HWND>(graphics->OpenWindow(parent->Handle()));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
    const RECT r = PlaceInParent(second);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);

    graphics->CloseWindow();
    EXPECT_EQ(graphics->GetWindow(), nullptr);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
    EXPECT_FALSE(ClassRegistered());
    graphics->CloseWindow();  // a second close changes nothing
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);

    // Opened again after closing: a fresh window at the default place, the class back.
    HWND third = static_cast<HWND>(graphics->OpenWindow(parent->Handle()));
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(PlaceInParent(third).right, 400);
}

TEST_F(WinEditor, FailedCreationAnswersNullAndLeavesCountAndClassBalanced)
{
    graphics->CloseWindow();
    ASSERT_EQ(IGraphicsWin::OpenWindowCount(), 0);
    EXPECT_EQ(graphics->OpenWindow(reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x7654321))), nullptr);
    EXPECT_EQ(graphics->GetWindow(), nullptr);
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
    EXPECT_FALSE(ClassRegistered());
    // A child window needs a parent.
    EXPECT_EQ(graphics->OpenWindow(nullptr), nullptr);
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);

    // With another editor open, a failure leaves that one's class in place.
    auto other = MakeEditor();
    ASSERT_NE(other->OpenWindow(parent->Handle()), nullptr);
    EXPECT_EQ(graphics->OpenWindow(reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x7654321))), nullptr);
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
    EXPECT_TRUE(ClassRegistered());
    other.reset();
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(WinEditor, TimerPeriodIsTheTruncatedFramePeriod)
{
    EXPECT_EQ(graphics->TimerPeriodMs(), 41u);  // fps 0: the default 24
    const struct {
        int fps;
        unsigned ms;
    } cases[] = {{24, 41}, {30, 33}, {7, 142}, {60, 16}, {-5, 41}};
    for (const auto& c : cases) {
        auto editor = MakeEditor(c.fps);
        ASSERT_NE(editor->OpenWindow(parent->Handle()), nullptr);
        EXPECT_EQ(editor->TimerPeriodMs(), c.ms) << c.fps;
    }
    host.editor = graphics.get();
    graphics->CloseWindow();
    EXPECT_EQ(graphics->TimerPeriodMs(), 0u);
}

TEST_F(WinEditor, RealTimerTicksRedrawWhatIsDirty)
{
    Pump();
    const int before = knob->draws;
    knob->SetDirty(false);
    const DWORD start = GetTickCount();
    while (knob->draws == before && GetTickCount() - start < 3000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    EXPECT_GT(knob->draws, before);
    EXPECT_FALSE(knob->IsDirty());
}

TEST_F(WinEditor, TwoEditorsOpenAtOnceShareTheClassAndRunApart)
{
    HostWindow otherParent(80, 80, 480, 400);
    FakeEditHost otherHost;
    auto other = std::make_unique<IGraphicsWin>(&otherHost, 400, 300, 30);
    other->AttachControl(std::make_unique<WinProbe>(&otherHost, 0, IBox{0, 0, 50, 50}, &log, "other"));
    other->PrepareDrawing();
    otherHost.editor = other.get();
    ASSERT_NE(other->OpenWindow(otherParent.Handle()), nullptr);
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 2);
    EXPECT_NE(other->GetWindow(), graphics->GetWindow());

    SendMessageA(static_cast<HWND>(other->GetWindow()), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(static_cast<HWND>(other->GetWindow()), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 120));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(120, 120));
    EXPECT_EQ(log, "other.down(10,10,L) other.up(10,10,) knob.down(120,120,L) knob.up(120,120,) ");

    graphics->CloseWindow();
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
    EXPECT_TRUE(ClassRegistered());
    log.clear();
    SendMessageA(static_cast<HWND>(other->GetWindow()), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(log, "other.down(5,5,L) ");
    other.reset();
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(WinEditor, WindowCloseMessageAndAHostThatDestroysItsWindowBothBalanceTheCount)
{
    Send(WM_CLOSE, 0, 0);
    EXPECT_EQ(graphics->GetWindow(), nullptr);
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);

    ASSERT_NE(graphics->OpenWindow(parent->Handle()), nullptr);
    HWND hWnd = static_cast<HWND>(graphics->GetWindow());
    parent.reset();  // destroys the editor's window with its own
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(graphics->GetWindow(), nullptr);
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
    // The class may outlive such a window; opening again still works.
    parent = std::make_unique<HostWindow>(50, 50, 480, 400);
    EXPECT_NE(graphics->OpenWindow(parent->Handle()), nullptr);
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
}

TEST_F(WinEditor, ResizeGrowsTheWindowAndChildParentsByTheChangeOfSize)
{
    // Host window -> child frame -> editor window.
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 6, 420, 330,
                                 static_cast<HWND>(parent->Handle()), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(graphics->OpenWindow(frame), nullptr);
    RECT hostBefore{};
    GetWindowRect(static_cast<HWND>(parent->Handle()), &hostBefore);

    graphics->Resize(450, 280);
    EXPECT_EQ(graphics->Width(), 450);
    EXPECT_EQ(host.log, "R450x280 ");
    const RECT editor = PlaceInParent(static_cast<HWND>(graphics->GetWindow()));
    EXPECT_EQ(editor.left, 0);
    EXPECT_EQ(editor.right - editor.left, 450);
    EXPECT_EQ(editor.bottom - editor.top, 280);
    const RECT framed = PlaceInParent(frame);
    EXPECT_EQ(framed.left, 5);
    EXPECT_EQ(framed.top, 6);
    EXPECT_EQ(framed.right - framed.left, 470);
    EXPECT_EQ(framed.bottom - framed.top, 310);
    // The top-level host window is the host's to size.
    RECT hostAfter{};
    GetWindowRect(static_cast<HWND>(parent->Handle()), &hostAfter);
    EXPECT_EQ(hostAfter.right - hostAfter.left, hostBefore.right - hostBefore.left);
    graphics->CloseWindow();
    DestroyWindow(frame);
}

TEST_F(WinEditor, FoldersEndInABackslashAndHoldTheirModulesAndUnknownImagesAreNull)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string hostFolder = graphics->HostFolder();
    ASSERT_FALSE(hostFolder.empty());
    EXPECT_EQ(hostFolder.back(), '\\');
    EXPECT_EQ(std::string(exe).substr(0, hostFolder.size()), hostFolder);
    EXPECT_EQ(std::string(exe).find('\\', hostFolder.size()), std::string::npos);
    // Linked into this program, the library's module is the program's.
    EXPECT_EQ(graphics->LibraryFolder(), hostFolder);
    EXPECT_EQ(graphics->DecodeImage(32000, "none"), nullptr);
    EXPECT_FALSE(graphics->OpenURL(nullptr, "caption", nullptr, nullptr));
    EXPECT_FALSE(graphics->OpenURL("", "caption", nullptr, nullptr));
}
