#include "platform/linux/x11/IGraphicsLinux.h"

#include "controls/IControl.h"
#include "framework/IParamDef.h"
#include "graphics/PIX_SysBitmap.h"
#include "graphics/PngDecoder.h"
#include "platform/EmbeddedResources.h"
#include "platform/linux/EmbedTarget.h"
#include "platform/ModuleInfo.h"
#include "platform/linux/x11/X11EditorWindow.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

IGraphicsLinux::IGraphicsLinux(IEditHost* host, int width, int height, int fps)
    : IGraphics(host, width, height, fps), module(platform::ThisModule())
{
}

IGraphicsLinux::~IGraphicsLinux() { CloseWindow(); }

bool IGraphicsLinux::PresentRegion(const IBox& rect)
{
    if (!window || !BackBuffer())
        return true;
    window->Present(*BackBuffer(), rect);
    const IBox beyond = CarriedPastEdges(rect);
    if (!(beyond == rect))
        window->PaintBeyond(*BackBuffer(), beyond);
    return true;
}

std::string IGraphicsLinux::HostFolder() const
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string exe(path, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

std::string IGraphicsLinux::LibraryFolder() const
{
    return ModuleFolderOf(reinterpret_cast<const void*>(&ModuleFolderOf));
}

bool IGraphicsLinux::OpenURL(const char* url, const char*, const char* confirmText, const char*)
{
    if (confirmText)
        return false;
    return urlOpener.Open(url);
}

void IGraphicsLinux::SetParamEditCountdown(int ticks) { paramEditCountdown = ticks; }

void IGraphicsLinux::CancelParamEditCountdown() { paramEditCountdown = 0; }

std::unique_ptr<PIX_IBitmap> IGraphicsLinux::DecodeImage(int resourceId, const char*)
{
    return pix::DecodePngResource(module, resourceId);
}

// ---- The window --------------------------------------------------------------------------------

void* IGraphicsLinux::OpenWindow(void* parent)
{
    const auto* target = static_cast<const EmbedTarget*>(parent);
    if (!target || target->parentWindow == 0 || !target->runLoop)
        return nullptr;
    IBox place{0, 0, Width(), Height()};
    if (window) {
        place = window->Placement();
        CloseWindow();
    }
    parentWindow = target->parentWindow;
    std::unique_ptr<X11EditorWindow> opened =
        X11EditorWindow::Open(parentWindow, place.L, place.T, place.W(), place.H());
    if (!opened)
        return nullptr;
    if (!target->runLoop->Start(opened->Descriptor(), TimerPeriodMs(), this))
        return nullptr;
    window = std::move(opened);
    runLoop = target->runLoop;
    captured = trackingLeave = false;
    exposed = IBox{};
    lastButton = 0;
    window->TakeFocus(false, 0);
    if (IControl* background = GetControl(0))
        background->SetDirty(false);
    return GetWindow();
}

void IGraphicsLinux::CloseWindow()
{
    if (!window)
        return;
    if (paramEditCountdown > 0 && Host())
        Host()->FlushDelayedParamEdit();
    textBox.reset();
    textBoxControl = nullptr;
    textBoxParam = nullptr;
    textBoxState = kTextBoxIdle;
    if (runLoop)
        runLoop->Stop();
    runLoop = nullptr;
    window.reset();
    captured = trackingLeave = false;
}

void* IGraphicsLinux::GetWindow() const { return window ? reinterpret_cast<void*>(window->Id()) : nullptr; }

bool IGraphicsLinux::ShowWindow(bool shown) { return window && window->Map(shown); }

const char* IGraphicsLinux::PresentMethod() const { return window ? window->PresentMethod() : "none"; }

void IGraphicsLinux::OnDescriptorReady()
{
    EditorWindowEvent event;
    // Handling an event may close the window, so look for it again before every read.
    while (window && window->Next(event))
        HandleEvent(event);
}

void IGraphicsLinux::OnTimer()
{
    // Drawing waits on the X server, and Xlib queues the events that arrive meanwhile: they have
    // left the descriptor, which stays quiet until the next input, so they are taken here.
    OnDescriptorReady();
    Tick();
}

// ---- Frames ------------------------------------------------------------------------------------

void IGraphicsLinux::Tick()
{
    UpdateFromHost();
    if (textBox && textBoxState != kTextBoxIdle) {
        const int request = textBoxState;
        textBoxState = kTextBoxIdle;
        if (request == kTextBoxCommit || request == kTextBoxCancel) {
            // The control may have gone with the editor's controls since the box opened.
            IControl* control = HoldsControl(textBoxControl) ? textBoxControl : nullptr;
            if (request == kTextBoxCommit && control)
                ApplyEnteredText(control, textBoxParam, textBox->Text().c_str());
            if (control)
                control->OnTextEntryClosed();
            CloseTextBox();
        }
    }
    IBox dirty;
    if (IsDirty(dirty))
        Draw(dirty);
    if (paramEditCountdown > 0 && --paramEditCountdown == 0 && Host())
        Host()->FlushDelayedParamEdit();
}

// ---- Events ------------------------------------------------------------------------------------

void IGraphicsLinux::HandleEvent(const EditorWindowEvent& event)
{
    using Kind = EditorWindowEvent::Kind;
    switch (event.kind) {
    case Kind::ConnectionLost:
    case Kind::Destroyed: CloseWindow(); return;
    case Kind::Exposure:
        if (event.inEntry) {
            ShowTextBox();
            return;
        }
        exposed = exposed.Union(event.area);
        if (event.lastOfSeries) {
            const IBox region = exposed;
            exposed = IBox{};
            Draw(region);
            if (window && BackBuffer())
                window->PaintBeyond(*BackBuffer(), region);
        }
        return;
    case Kind::FocusGained:
    case Kind::FocusLost:
        // Focus changes only start and end typing: losing the focus neither commits nor closes
        // the box, and since they arrive after the input that caused them, they never undo a
        // commit or cancel request made in the meantime.
        if (event.inEntry && textBox) {
            if (event.kind == Kind::FocusGained && textBoxState == kTextBoxIdle)
                textBoxState = kTextBoxTyping;
            else if (event.kind == Kind::FocusLost && textBoxState == kTextBoxTyping)
                textBoxState = kTextBoxIdle;
        }
        return;
    case Kind::Press: HandlePress(event); return;
    case Kind::Release:
        if (event.inEntry || (event.button != 1 && event.button != 3))
            return;
        captured = false;
        OnMouseUp(event.x, event.y, event.mod);
        return;
    case Kind::Motion:
        if (event.mod.L || event.mod.R) {
            if (captured)
                OnMouseDrag(event.x, event.y, event.mod);
        } else if (OnMouseOver(event.x, event.y, event.mod)) {
            trackingLeave = true;
        }
        return;
    case Kind::Leave:
        if (trackingLeave && !captured) {
            trackingLeave = false;
            OnMouseOut();
        }
        return;
    case Kind::Key:
        if (event.inEntry) {
            HandleEntryInput(event);
            return;
        }
        // Escape closes what is open, wherever the focus is: the value entry on the next tick
        // (as a right click does), else the editor's own lists.
        if (event.entryKey == EntryKey::Escape) {
            if (textBox)
                textBoxState = kTextBoxCancel;
            else
                DismissLists();
            return;
        }
        if (event.editorKey >= 0)
            OnKeyDown(event.x, event.y, event.editorKey);
        return;
    }
}

void IGraphicsLinux::HandlePress(const EditorWindowEvent& event)
{
    if (event.inEntry) {
        HandleEntryInput(event);
        return;
    }
    if (event.button == 4 || event.button == 5) {
        OnMouseWheel(event.x, event.y, event.mod, event.button == 4 ? 1 : -1);
        return;
    }
    if (event.button != 1 && event.button != 3)
        return;
    const bool isDouble = event.button == lastButton && event.time - lastTime <= kDoubleClickMs &&
                          std::abs(event.x - lastX) <= kDoubleClickDistance &&
                          std::abs(event.y - lastY) <= kDoubleClickDistance;
    // A double click ends the sequence: a third press starts a new one.
    lastButton = isDouble ? 0 : event.button;
    lastTime = event.time;
    lastX = event.x;
    lastY = event.y;
    if (event.button == 3 && textBox) {
        textBoxState = kTextBoxCancel;
        return;
    }
    if (isDouble) {
        // Only the left button has a double click; the right one's second press is dropped.
        if (event.button == 1 && OnMouseDblClick(event.x, event.y, event.mod))
            captured = true;
        return;
    }
    if (textBox)
        textBoxState = kTextBoxCommit;
    else if (window)
        window->TakeFocus(false, event.time);
    captured = true;
    OnMouseDown(event.x, event.y, event.mod);
}

// ---- Typed value entry -------------------------------------------------------------------------

void IGraphicsLinux::OpenValueEntry(IControl* control, const IParamDef* param, bool centred)
{
    if (!control || !param || textBox || !window || !window->Usable())
        return;
    const IBox& r = control->Rect();
    const int cx = static_cast<int>((static_cast<float>(r.L) + static_cast<float>(r.R)) * 0.5f);
    const int cy = static_cast<int>((static_cast<float>(r.T) + static_cast<float>(r.B)) * 0.5f);
    char current[kParamTextSize];
    param->FormatValue(param->Value(), false, current);
    const int count = param->ValueTextCount();
    if (count == 0 || (param->Kind() != kParamEnum && param->Kind() != kParamBool)) {
        IBox area = r;
        if (centred) {
            char widest[kParamTextSize];
            param->FormatValue(1.0, true, widest);
            const int width = std::max(7 * static_cast<int>(std::strlen(widest)) + 6, 32);
            area = IBox{cx - width / 2, cy - 8, cx - width / 2 + width, cy + 8};
        }
        textBox = ValueEntryBox::TextBox(area, current, centred);
    } else {
        std::vector<std::string> entries;
        size_t longest = 0;
        int selected = -1;
        for (int i = 0; i < count; ++i) {
            const ParamValueText* entry = param->ValueTextAt(i);
            entries.emplace_back(entry ? entry->text : "");
            longest = std::max(longest, entries.back().size());
            if (entries.back() == current)
                selected = i;
        }
        IBox area;
        if (centred) {
            const int width = 24 + 8 * static_cast<int>(longest);
            area = IBox{cx - width / 2, cy, cx - width / 2 + width, cy + 36 * (count + 1)};
        } else {
            area = IBox{r.L, cy, r.R, cy + r.H()};
        }
        textBox = ValueEntryBox::ListBox(area, std::move(entries), selected);
    }
    if (!window->OpenEntry(textBox->Area())) {
        textBox.reset();
        return;
    }
    textBoxControl = control;
    textBoxParam = param;
    textBoxState = kTextBoxIdle;
    ShowTextBox();
    window->TakeFocus(true, 0);
}

void IGraphicsLinux::HandleEntryInput(const EditorWindowEvent& event)
{
    if (!textBox)
        return;
    ValueEntryBox::Effect effect = ValueEntryBox::Effect::Ignored;
    if (event.kind == EditorWindowEvent::Kind::Key) {
        effect = textBox->OnKey(event.entryKey, event.text);
    } else if (event.button == 1) {
        window->TakeFocus(true, event.time);
        effect = textBox->OnPress(event.x, event.y);
    }
    if (effect == ValueEntryBox::Effect::Commit)
        textBoxState = kTextBoxCommit;
    else if (effect == ValueEntryBox::Effect::Cancel)
        textBoxState = kTextBoxCancel;
    else if (effect == ValueEntryBox::Effect::Typing)
        textBoxState = kTextBoxTyping;
    ShowTextBox();
}

void IGraphicsLinux::ShowTextBox()
{
    if (!textBox || !window)
        return;
    window->PlaceEntry(textBox->Area());
    textBox->Paint(textBoxPixels);
    window->PresentEntry(textBoxPixels);
}

void IGraphicsLinux::CloseTextBox()
{
    textBox.reset();
    textBoxControl = nullptr;
    textBoxParam = nullptr;
    textBoxState = kTextBoxIdle;
    if (window) {
        window->CloseEntry();
        window->TakeFocus(false, 0);
    }
}
