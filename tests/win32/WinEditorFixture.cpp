#include "WinEditorFixture.h"

#include "platform/EmbeddedResources.h"

#include <windows.h>

#include <cstdio>

FakeEditHost::FakeEditHost()
{
    params[0].DefineDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
    params[1].DefineEnum("Target", 1, 4, "");
    params[1].AddValueText(0, "No Assign");
    params[1].AddValueText(1, "Out Gain");
    params[1].AddValueText(2, "Low Gain");
    params[1].AddValueText(3, "High Gain");
    params[2].DefineInt("Steps", 5, 0, 10, "");
}

bool FakeEditHost::BeginParamEdit(int index)
{
    log += "B" + std::to_string(index) + " ";
    return true;
}

bool FakeEditHost::EndParamEdit(int index)
{
    log += "E" + std::to_string(index) + " ";
    return true;
}

void FakeEditHost::SetParamFromEditor(int index, double normalized)
{
    if (index < 0 || index >= kParams)
        return;
    params[index].SetFromNormalized(normalized);
    char item[48];
    std::snprintf(item, sizeof item, "P%d=%g ", index, params[index].Value());
    log += item;
}

void FakeEditHost::BeginDelayedParamEdit(int index)
{
    if (delayedOpen)
        FlushDelayedParamEdit();
    delayedOpen = true;
    log += "D" + std::to_string(index) + " ";
}

void FakeEditHost::EndDelayedParamEdit(int index)
{
    log += "d" + std::to_string(index) + " ";
    if (editor)
        editor->SetParamEditCountdown(12);
}

void FakeEditHost::FlushDelayedParamEdit()
{
    if (editor)
        editor->CancelParamEditCountdown();
    if (!delayedOpen)
        return;
    delayedOpen = false;
    log += "F ";
}

const IParamDef* FakeEditHost::ParamRecord(int index) const
{
    return index >= 0 && index < kParams ? &params[index] : nullptr;
}

void FakeEditHost::ResizeEditorWindow(int width, int height)
{
    log += "R" + std::to_string(width) + "x" + std::to_string(height) + " ";
}

WinProbe::WinProbe(IEditHost* host, int paramIdx, const IBox& area, std::string* record, const char* label)
    : IControl(host, paramIdx), log(record), name(label)
{
    rect = area;
    targetRect = area;
}

void WinProbe::Record(const std::string& what, int x, int y, const IMouseState& mod)
{
    std::string mods;
    if (mod.L)
        mods += 'L';
    if (mod.R)
        mods += 'R';
    if (mod.S)
        mods += 'S';
    if (mod.C)
        mods += 'C';
    if (mod.A)
        mods += 'A';
    *log += name + "." + what + "(" + std::to_string(x) + "," + std::to_string(y) + "," + mods + ") ";
}

void WinProbe::OnMouseDown(int x, int y, const IMouseState& mod)
{
    Record("down", x, y, mod);
    IControl::OnMouseDown(x, y, mod);
}

void WinProbe::OnMouseUp(int x, int y, const IMouseState& mod) { Record("up", x, y, mod); }

void WinProbe::OnMouseDrag(int x, int y, int, int, const IMouseState& mod) { Record("drag", x, y, mod); }

void WinProbe::OnMouseDblClick(int x, int y, const IMouseState& mod) { Record("dbl", x, y, mod); }

void WinProbe::OnMouseWheel(int x, int y, const IMouseState& mod, int d)
{
    Record("wheel" + std::to_string(d), x, y, mod);
    IControl::OnMouseWheel(x, y, mod, d);
}

void WinProbe::OnMouseOver(int x, int y, const IMouseState& mod) { Record("over", x, y, mod); }

void WinProbe::OnMouseOut() { *log += name + ".out "; }

void WinProbe::OnKeyDown(int, int, int key) { *log += name + ".key" + std::to_string(key) + " "; }

bool WinProbe::Draw(IGraphics& graphics)
{
    ++draws;
    return graphics.FillRect(IArgb{255, 40, 80, 120}, rect, nullptr);
}

namespace {

const char kHostClass[] = "WinEditorTestHost";

LRESULT CALLBACK HostProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

}  // namespace

HostWindow::HostWindow(int x, int y, int width, int height)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);  // already there for the second host window on
    handle = CreateWindowExA(0, kHostClass, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width,
                             height, nullptr, nullptr, wc.hInstance, nullptr);
}

HostWindow::~HostWindow()
{
    if (handle)
        DestroyWindow(static_cast<HWND>(handle));
}

void WinEditor::SetUp()
{
    parent = std::make_unique<HostWindow>(50, 50, 480, 400);
    ASSERT_NE(parent->Handle(), nullptr);
    graphics = MakeEditor();
    knob = Probe(*graphics, 0, IBox{100, 100, 160, 160}, "knob");
    list = Probe(*graphics, 1, IBox{200, 100, 300, 130}, "list");
    ASSERT_NE(graphics->OpenWindow(parent->Handle()), nullptr);
    Pump();
    log.clear();
    host.log.clear();
}

void WinEditor::TearDown()
{
    graphics.reset();
    parent.reset();
    Pump();
    EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
}

std::unique_ptr<IGraphicsWin> WinEditor::MakeEditor(int fps)
{
    auto editor = std::make_unique<IGraphicsWin>(&host, 400, 300, fps);
    editor->AttachControl(std::make_unique<WinProbe>(&host, -1, IBox{0, 0, 400, 300}, &log, "bg"));
    editor->PrepareDrawing();
    editor->SetMouseOverEnabled(true);
    host.editor = editor.get();
    return editor;
}

WinProbe* WinEditor::Probe(IGraphicsWin& editor, int paramIdx, const IBox& area, const char* name)
{
    auto probe = std::make_unique<WinProbe>(&host, paramIdx, area, &log, name);
    WinProbe* p = probe.get();
    editor.AttachControl(std::move(probe));
    return p;
}

std::intptr_t WinEditor::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    return SendMessageA(static_cast<HWND>(graphics->GetWindow()), message, wParam, lParam);
}

void WinEditor::Tick(int times)
{
    for (int i = 0; i < times; ++i)
        Send(WM_TIMER, IGraphicsWin::kTimerId, 0);
}

void WinEditor::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WinEditor::ClassRegistered() const
{
    WNDCLASSA wc;
    return GetClassInfoA(
               static_cast<HINSTANCE>(graphics ? graphics->Module() : const_cast<void*>(platform::ThisModule())),
               "IFxWndClass", &wc) != 0;
}
