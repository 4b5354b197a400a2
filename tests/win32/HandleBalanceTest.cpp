// Many open/close cycles, each with a text box, leave the process's windows and GDI objects
// where they started. The system's own counters may be stubs (they are under Wine), so windows
// are also counted by enumeration and GDI objects by the slot a new object takes: objects freed
// as they are made keep it in place, objects left alive push it on.
#include "WinEditorFixture.h"

#include <windows.h>

namespace {

BOOL CALLBACK CountOne(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Enumerating a window's children reaches all of their descendants too.
BOOL CALLBACK CountWithDescendants(HWND hWnd, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(hWnd, CountOne, count);
    return TRUE;
}

int ThreadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWithDescendants, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The table slot a newly made GDI object takes (the low word of its handle): with objects
// freed as they are made, it stays put; every object left alive moves it on.
int NextGdiSlot()
{
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    const int slot = static_cast<int>(reinterpret_cast<std::uintptr_t>(probe) & 0xFFFF);
    DeleteObject(probe);
    return slot;
}

struct Counts {
    DWORD gdi, user;
    int windows, slot;
};

Counts Now()
{
    return Counts{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                  GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), ThreadWindows(), NextGdiSlot()};
}

}  // namespace

TEST_F(WinEditor, ThousandOpenCloseCyclesLeaveWindowAndGdiCountsWhereTheyWere)
{
    graphics->CloseWindow();
    Pump();
    const Counts before = Now();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_NE(graphics->OpenWindow(parent->Handle()), nullptr) << i;
        graphics->OpenValueEntry(i % 2 ? knob : list, host.ParamRecord(i % 2 ? 0 : 1), true);
        ASSERT_NE(graphics->TextBoxWindow(), nullptr) << i;
        if (i % 3 == 0) {
            SendMessageA(static_cast<HWND>(graphics->TextBoxWindow()), WM_KEYDOWN, VK_RETURN, 0);
            Tick();
        }
        Send(WM_PAINT, 0, 0);
        graphics->CloseWindow();
    }
    Pump();
    const Counts after = Now();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_LT(std::abs(after.slot - before.slot), 16);
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
}

TEST(HandleCounts, ALeakOfOneObjectPerCycleIsSeen)
{
    // The first window of a thread brings the system's own helpers along, so one stays open.
    HWND first = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const int windowsBefore = ThreadWindows();
    const int slotBefore = NextGdiSlot();
    std::vector<HFONT> leaked;
    std::vector<HWND> left;
    for (int i = 0; i < 100; ++i) {
        leaked.push_back(CreateFontA(14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
        left.push_back(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    }
    EXPECT_GE(std::abs(NextGdiSlot() - slotBefore), 16);
    EXPECT_EQ(ThreadWindows(), windowsBefore + 100);
    for (HFONT f : leaked)
        DeleteObject(f);
    for (HWND w : left)
        DestroyWindow(w);
    EXPECT_EQ(ThreadWindows(), windowsBefore);
    DestroyWindow(first);
}
