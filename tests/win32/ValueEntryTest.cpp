// Typed value entry in native EDIT and COMBOBOX children: their shape, Enter and list
// selections committing on the next tick, right clicks cancelling, other keys only typing.
#include "WinEditorFixture.h"

#include <windows.h>

#include <string>

namespace {

HWND Box(const IGraphicsWin& g) { return static_cast<HWND>(g.TextBoxWindow()); }

std::string ClassOf(HWND hWnd)
{
    char name[32] = {};
    GetClassNameA(hWnd, name, sizeof name);
    return name;
}

RECT PlaceInParent(HWND hWnd)
{
    RECT r{};
    GetWindowRect(hWnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hWnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string FaceOf(HWND hWnd)
{
    auto font = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof lf, &lf))
        return "";
    return std::string(lf.lfFaceName) + "/" + std::to_string(lf.lfHeight);
}

}  // namespace

TEST_F(WinEditor, CentredEditBoxSitsOnTheControlWithItsTextSelected)
{
    host.params[0].SetValueClamped(3.5);
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ClassOf(box), "Edit");
    EXPECT_EQ(GetParent(box), static_cast<HWND>(graphics->GetWindow()));
    EXPECT_EQ(GetDlgCtrlID(box), 99);
    EXPECT_EQ(static_cast<std::uintptr_t>(GetWindowLongPtrA(box, GWLP_USERDATA)), IGraphicsWin::kTextBoxMarker);
    EXPECT_EQ(FaceOf(box), "Arial/14");
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    EXPECT_TRUE(style & ES_CENTER);
    EXPECT_TRUE(style & ES_MULTILINE);
    char text[64] = {};
    GetWindowTextA(box, text, sizeof text);
    char shown[kParamTextSize];
    host.params[0].FormatValue(3.5, false, shown);
    EXPECT_STREQ(text, shown);
    DWORD from = 0, to = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, std::strlen(shown));
    // Centred on (130, 130), width from the widest text of the parameter, 16 high.
    char widest[kParamTextSize];
    host.params[0].FormatValue(1.0, true, widest);
    const int width = std::max(7 * static_cast<int>(std::strlen(widest)) + 6, 32);
    const RECT r = PlaceInParent(box);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, 16);
    EXPECT_EQ(r.left, 130 - width / 2);
    EXPECT_EQ(r.top, 122);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxTyping);

    // One box at a time; missing arguments open none.
    graphics->OpenValueEntry(list, host.ParamRecord(1), true);
    EXPECT_EQ(Box(*graphics), box);
}

TEST_F(WinEditor, EditBoxWithoutCentringCoversTheControl)
{
    graphics->OpenValueEntry(nullptr, host.ParamRecord(0), false);
    graphics->OpenValueEntry(knob, nullptr, false);
    EXPECT_EQ(Box(*graphics), nullptr);
    graphics->OpenValueEntry(knob, host.ParamRecord(2), false);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(GetWindowLongA(box, GWL_STYLE) & ES_CENTER);
    const RECT r = PlaceInParent(box);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right, 160);
    EXPECT_EQ(r.bottom, 160);
}

TEST_F(WinEditor, EnterCommitsOnTheNextTickAndOtherKeysKeepTyping)
{
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    SetWindowTextA(box, "-4.5");
    SendMessageA(box, WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxTyping);
    Tick();
    EXPECT_EQ(Box(*graphics), box);  // typing is no request
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxIdle);
    EXPECT_EQ(host.log, "");
    SendMessageA(box, WM_KEYDOWN, 'Y', 0);
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxTyping);

    EXPECT_EQ(SendMessageA(box, WM_KEYDOWN, VK_RETURN, 0), 0);
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxCommit);
    char text[16] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "-4.5");  // Enter typed no line break
    EXPECT_EQ(host.log, "");
    Tick();
    EXPECT_EQ(Box(*graphics), nullptr);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxIdle);
    EXPECT_DOUBLE_EQ(host.params[0].Value(), -4.5);
    EXPECT_EQ(host.log, "B0 P0=-4.5 E0 P0=-4.5 ");
    EXPECT_EQ(GetFocus(), static_cast<HWND>(graphics->GetWindow()));
}

TEST_F(WinEditor, EscapeInTheBoxOrTheEditorCancelsOnTheNextTick)
{
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    SetWindowTextA(box, "-4.5");
    EXPECT_EQ(SendMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxCancel);
    Tick();
    EXPECT_EQ(Box(*graphics), nullptr);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_NE(host.params[0].Value(), -4.5);
    EXPECT_EQ(host.log.find("-4.5"), std::string::npos) << host.log;

    graphics->OpenValueEntry(list, host.ParamRecord(1), true);
    box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    SendMessageA(static_cast<HWND>(graphics->GetWindow()), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxCancel);
    Tick();
    EXPECT_EQ(Box(*graphics), nullptr);
}

TEST_F(WinEditor, LosingFocusNeitherCommitsNorCloses)
{
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    SetFocus(static_cast<HWND>(graphics->GetWindow()));
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxIdle);
    Tick(3);
    EXPECT_EQ(Box(*graphics), box);
    EXPECT_EQ(host.log, "");
}

TEST_F(WinEditor, LeftClickInTheEditorCommitsAndRightClickCancelsWithoutReachingControls)
{
    knob->SetValueFromParam(0.5);
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    SetWindowTextA(Box(*graphics), "2");
    Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(250, 110));
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxCancel);
    EXPECT_EQ(log, "");
    EXPECT_NE(GetCapture(), static_cast<HWND>(graphics->GetWindow()));
    Tick();
    EXPECT_EQ(Box(*graphics), nullptr);
    EXPECT_DOUBLE_EQ(host.params[0].Value(), 0.0);
    // The control's value is pushed again when its entry closes, typed text or not.
    EXPECT_EQ(host.log, "P0=0 ");

    host.log.clear();
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    SetWindowTextA(Box(*graphics), "6");
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 110));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(250, 110));
    EXPECT_EQ(log, "list.down(250,110,L) list.up(250,110,) ");
    Tick();
    EXPECT_DOUBLE_EQ(host.params[0].Value(), 6.0);
    EXPECT_NE(host.log.find("B0 P0=6 E0"), std::string::npos);
}

TEST_F(WinEditor, TextThatIsNoNumberChangesNothing)
{
    knob->SetValueFromParam(0.5);
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    SetWindowTextA(Box(*graphics), "loud");
    SendMessageA(Box(*graphics), WM_KEYDOWN, VK_RETURN, 0);
    Tick();
    EXPECT_EQ(Box(*graphics), nullptr);
    EXPECT_DOUBLE_EQ(host.params[0].Value(), 0.0);
    EXPECT_EQ(host.log.find("B0"), std::string::npos);
}

TEST_F(WinEditor, ListBoxHoldsTheDisplayTextsWithTheCurrentOneSelected)
{
    host.params[1].SetValueClamped(2);
    graphics->OpenValueEntry(list, host.ParamRecord(1), true);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ClassOf(box), "ComboBox");
    EXPECT_EQ(GetDlgCtrlID(box), 99);
    EXPECT_TRUE((GetWindowLongA(box, GWL_STYLE) & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST);
    EXPECT_EQ(static_cast<std::uintptr_t>(GetWindowLongPtrA(box, GWLP_USERDATA)), IGraphicsWin::kTextBoxMarker);
    EXPECT_EQ(FaceOf(box), "Arial/14");
    ASSERT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 4);
    char entry[32] = {};
    SendMessageA(box, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "High Gain");
    EXPECT_EQ(SendMessageA(box, CB_GETCURSEL, 0, 0), 2);
    // 24 + 8 x "No Assign" wide, centred on x = 250, top at the centre line.
    const RECT r = PlaceInParent(box);
    EXPECT_EQ(r.right - r.left, 24 + 8 * 9);
    EXPECT_EQ(r.left, 250 - (24 + 8 * 9) / 2);
    EXPECT_EQ(r.top, 115);
}

TEST_F(WinEditor, ListWithoutCentringStartsAtTheControlsCentreLine)
{
    graphics->OpenValueEntry(list, host.ParamRecord(1), false);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    const RECT r = PlaceInParent(box);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 115);
    EXPECT_EQ(r.right - r.left, 100);
}

TEST_F(WinEditor, AParameterWithoutDisplayTextsIsTypedEvenWhenItIsAList)
{
    auto bare = std::make_unique<WinProbe>(&host, 2, IBox{10, 10, 40, 40}, &log, "bare");
    IParamDef listWithoutTexts;
    listWithoutTexts.DefineEnum("Bare", 0, 3, "");
    graphics->OpenValueEntry(bare.get(), &listWithoutTexts, true);
    ASSERT_NE(Box(*graphics), nullptr);
    EXPECT_EQ(ClassOf(Box(*graphics)), "Edit");
    graphics->CloseWindow();
}

TEST_F(WinEditor, ChoosingFromTheListCommitsOnTheNextTick)
{
    graphics->OpenValueEntry(list, host.ParamRecord(1), true);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(box, &info));
    // The drop-down list tells its combo box of the new selection, as a click in it does.
    SendMessageA(box, CB_SETCURSEL, 3, 0);
    EXPECT_EQ(SendMessageA(box, WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE), reinterpret_cast<LPARAM>(info.hwndList)), 0);
    EXPECT_EQ(graphics->TextBoxStateNow(), IGraphicsWin::kTextBoxCommit);
    Tick();
    EXPECT_EQ(Box(*graphics), nullptr);
    EXPECT_DOUBLE_EQ(host.params[1].Value(), 3.0);
    EXPECT_NE(host.log.find("B1 P1=3 E1"), std::string::npos);
}

TEST_F(WinEditor, EntryWhoseControlWentAwayClosesWithoutTouchingIt)
{
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    SetWindowTextA(Box(*graphics), "5");
    SendMessageA(Box(*graphics), WM_KEYDOWN, VK_RETURN, 0);
    std::unique_ptr<IControl> removed = graphics->RemoveControl(knob);
    knob = nullptr;
    Tick();
    EXPECT_EQ(Box(*graphics), nullptr);
    EXPECT_DOUBLE_EQ(host.params[0].Value(), 0.0);
    EXPECT_EQ(host.log, "");
}

TEST_F(WinEditor, ClosingWithAnOpenBoxTakesTheBoxAlong)
{
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    HWND box = Box(*graphics);
    ASSERT_NE(box, nullptr);
    graphics->CloseWindow();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(Box(*graphics), nullptr);
    ASSERT_NE(graphics->OpenWindow(parent->Handle()), nullptr);
    EXPECT_EQ(Box(*graphics), nullptr);
    Tick();
    EXPECT_EQ(host.log, "");
}

TEST_F(WinEditor, DirtyFramesLeaveTheOpenBoxUnpainted)
{
    graphics->OpenValueEntry(knob, host.ParamRecord(0), true);
    HWND hWnd = static_cast<HWND>(graphics->GetWindow());
    UpdateWindow(hWnd);
    UpdateWindow(Box(*graphics));
    knob->SetDirty(false);
    const int before = knob->draws;
    Tick();
    // The knob around the box is redrawn, and the frame leaves nothing to paint.
    EXPECT_EQ(knob->draws, before + 1);
    RECT left{};
    EXPECT_FALSE(GetUpdateRect(hWnd, &left, FALSE));
}
