// The Win32 host window and the object counter on their own: what the window shows and how big
// it is, and that the counter sees windows and GDI objects a module leaves alive.
#include "tools/hostkit/win32/Win32HostWindow.h"
#include "tools/hostkit/win32/Win32ObjectCounter.h"

#include <gtest/gtest.h>

#include <cstdint>

// Two system functions this test calls itself, to make a module (this program) leak on purpose.
extern "C" __declspec(dllimport) void* __stdcall GetModuleHandleA(const char* name);
extern "C" __declspec(dllimport) void* __stdcall CreateSolidBrush(unsigned long colour);
extern "C" __declspec(dllimport) int __stdcall DeleteObject(void* object);

namespace {

TEST(Win32HostWindow, ShowsItsClientAreaAtTheSizeAskedAndFollowsResize)
{
    std::unique_ptr<Win32HostWindow> window = Win32HostWindow::Open("host", 434, 480, 10, 10);
    ASSERT_TRUE(window);
    ASSERT_NE(window->Handle(), nullptr);
    EXPECT_TRUE(window->PumpFor(100));
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels = window->Capture(width, height);
    ASSERT_EQ(width, 434);
    ASSERT_EQ(height, 480);
    ASSERT_EQ(pixels.size(), 434u * 480u);
    // The class paints its background black; an empty window shows nothing else.
    for (std::uint32_t p : pixels)
        ASSERT_EQ(p, 0xFF000000u);

    window->Resize(200, 120);
    pixels = window->Capture(width, height);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 120);
    EXPECT_EQ(pixels.size(), 200u * 120u);

    int x = 0, y = 0;
    window->ClientToScreen(x, y);
    EXPECT_GE(x, 10);
    EXPECT_GE(y, 10);
}

TEST(Win32HostWindow, RefusesAnEmptySize)
{
    EXPECT_FALSE(Win32HostWindow::Open("host", 0, 480));
    EXPECT_FALSE(Win32HostWindow::Open("host", 434, -1));
}

TEST(Win32ObjectCounter, SeesWindowsAndGdiObjectsTheModuleLeavesAlive)
{
    platform::Win32ObjectCounter counter(GetModuleHandleA(nullptr));
    ASSERT_GT(counter.RedirectedImports(), 0);
    EXPECT_EQ(counter.LiveWindows(), 0);
    {
        std::unique_ptr<Win32HostWindow> window = Win32HostWindow::Open("counted", 100, 100);
        ASSERT_TRUE(window);
        EXPECT_EQ(counter.LiveWindows(), 1);
        int width = 0, height = 0;
        EXPECT_FALSE(window->Capture(width, height).empty());
        // Capturing makes a memory context and a bitmap and deletes both.
        EXPECT_GE(counter.MadeGdiObjects(), 2);
        EXPECT_EQ(counter.LiveGdiObjects(), 0);
    }
    EXPECT_EQ(counter.MadeWindows(), 1);
    EXPECT_EQ(counter.LiveWindows(), 0);

    void* leaked = CreateSolidBrush(0x00FF00);
    ASSERT_NE(leaked, nullptr);
    EXPECT_EQ(counter.LiveGdiObjects(), 1) << "a brush the module never deletes is seen";
    DeleteObject(leaked);
    EXPECT_EQ(counter.LiveGdiObjects(), 0);

    std::unique_ptr<Win32HostWindow> kept = Win32HostWindow::Open("kept", 100, 100);
    EXPECT_EQ(counter.LiveWindows(), 1) << "a window still open is seen";
}

TEST(Win32ObjectCounter, OnlyOneCountsAtATime)
{
    platform::Win32ObjectCounter first(GetModuleHandleA(nullptr));
    platform::Win32ObjectCounter second(GetModuleHandleA(nullptr));
    EXPECT_GT(first.RedirectedImports(), 0);
    EXPECT_EQ(second.RedirectedImports(), 0);
    void* brush = CreateSolidBrush(0);
    EXPECT_EQ(first.LiveGdiObjects(), 1);
    EXPECT_EQ(second.LiveGdiObjects(), 0);
    DeleteObject(brush);
}

}  // namespace
