// IGraphics: the editor's control container and frame producer. It owns the controls (drawn in
// list order, hit-tested last to first) and the back buffer they draw into, decides what to
// redraw, routes mouse and key events to controls and brackets the user's edits with the
// plug-in's begin/end notifications. The native window derives from it and supplies the pure
// virtual platform operations.
//
// Threads: everything runs on the editor's (the host's UI) thread. What the audio side changes
// reaches the controls through UpdateFromHost, which reads values the plug-in publishes.
#pragma once

#include "controls/IFrameClient.h"
#include "framework/IEditHost.h"
#include "framework/IFxEditor.h"
#include "graphics/IArgb.h"
#include "graphics/IBlend.h"
#include "graphics/IBox.h"
#include "graphics/IImage.h"
#include "graphics/IMouseState.h"
#include "graphics/ITextStyle.h"
#include "graphics/PIX_IBitmap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IControl;
class IParamDef;
class PIX_SysBitmap;

// Text and colours of the pop-up value menu.
struct IPromptStyle {
    ITextStyle text{"Arial", 15, IArgb{200, 255, 255, 255}, 0, ITextStyle::kAlignLeft};
    IArgb fill{245, 50, 50, 50};
    IArgb frame{75, 200, 200, 200};
};

class IGraphics : public IFxEditor {
public:
    // fps of 0 or less selects 24 frames per second.
    IGraphics(IEditHost* host, int width, int height, int fps);
    // Destroys the controls last to first, then the back buffer.
    ~IGraphics() override;
    IGraphics(const IGraphics&) = delete;
    IGraphics& operator=(const IGraphics&) = delete;

    // Platform operations, supplied by the window class.

    // Puts the finished back-buffer region on the screen.
    virtual bool PresentRegion(const IBox& rect) = 0;
    // New editor size: drops the mouse capture and every control, resizes the back buffer and
    // asks the host to resize the view. Whoever resizes attaches the new controls.
    virtual void Resize(int width, int height);
    virtual bool WindowIsOpen() const { return GetWindow() != nullptr; }
    // Opens a text box (or a list, for parameters with display texts) to type the parameter's
    // value; a commit comes back through ApplyEnteredText.
    virtual void OpenValueEntry(IControl* control, const IParamDef* param, bool centred) = 0;
    // Folder of the host executable / of this library, with a trailing separator; empty if unknown.
    virtual std::string HostFolder() const = 0;
    virtual std::string LibraryFolder() const = 0;
    // Opens a web address in the user's browser; confirmText (optional) asks first, errorText
    // (optional) is shown on failure. Answers whether the address was handed over.
    virtual bool OpenURL(const char* url, const char* caption, const char* confirmText, const char* errorText) = 0;
    // Decodes one image of the library's resources into a new bitmap; null if there is none.
    virtual std::unique_ptr<PIX_IBitmap> DecodeImage(int resourceId, const char* name) = 0;

    // Construction and set-up.

    // Appends a control and takes ownership; answers its index, or -1 for a null control.
    int AttachControl(std::unique_ptr<IControl> control);
    // Inserts the background picture as control 0 (opaque copy, no parameter).
    void AttachBackground(int resourceId, const char* name);
    // Takes a control out of the list (later ones move down) and hands it back to the caller.
    std::unique_ptr<IControl> RemoveControl(IControl* control);
    // The image of a resource, decoded once per process. A frame count below 1 counts as 1.
    IImage LoadBitmap(int resourceId, const char* name, int frameCount);
    // An image loaded earlier under this id (one frame); an empty image if there is none.
    IImage FindCachedBitmap(int resourceId) const;
    // Creates the back buffer (width x height) and notes the host-side changes shown so far.
    void PrepareDrawing() override;
    void PushParameterToControls(int paramIdx, double value, bool isNormalized) override;
    // Applies a committed text entry: a display text of the parameter or a decimal number.
    // Text that is neither changes nothing.
    void ApplyEnteredText(IControl* control, const IParamDef* param, const char* text);

    // Drawing operations for controls' Draw; all clip to the region being redrawn. A null blend
    // draws with the source's alpha at full weight.
    bool DrawBitmap(const IImage& bitmap, const IBox& destRect, int srcX, int srcY, const IBlend* blend);
    // frame is 1-based; frames lie along the height when vertical, else along the width.
    bool DrawBitmapFrame(const IImage& bitmap, const IBox& destRect, int frame, const IBlend* blend, bool vertical);
    // The whole image rotated by angle (radians, clockwise) about its centre, placed centred on
    // (centreX, centreY), bilinear; srcX/srcY shift the sampling origin.
    bool DrawRotatedBitmap(const IImage& bitmap, int centreX, int centreY, double angle, const IBlend* blend,
                           float srcX, float srcY);
    bool FillRect(const IArgb& colour, const IBox& rect, const IBlend* blend);
    bool DrawLine(const IArgb& colour, float x1, float y1, float x2, float y2, const IBlend* blend, bool antialias);
    bool DrawRoundRect(const IArgb& colour, const IBox& rect, int radius, const IBlend* blend, bool antialias);
    // corners: 4 rounds every corner, 2 only the top ones, -2 only the bottom ones; any other
    // value draws nothing.
    bool FillRoundRect(const IArgb& colour, const IBox& rect, int radius, int corners, const IBlend* blend,
                       bool antialias);
    // Draws a UTF-8 string in a text style; rect gives the alignment edges and the first line's
    // top. False only when no font can be made for the style.
    bool DrawText(ITextStyle& text, const char* string, const IBox& rect);

    // Frames, driven by the window's timer.

    // Takes up what the plug-in published since the last frame: the plug-in's frame hook runs,
    // host-side parameter changes go to the controls linked to them, then every frame client
    // runs. The timer calls it first.
    void UpdateFromHost();
    // The editor owns the client and runs it from UpdateFromHost, in the order added.
    void AddFrameClient(std::unique_ptr<IFrameClient> client);

    // Widens rect (pass an empty one) by the rectangle of every dirty control; answers whether
    // any control was dirty.
    bool IsDirty(IBox& rect);
    // Redraws every visible control overlapping rect (clipped to the editor), cleans every
    // control and presents the region.
    bool Draw(const IBox& rect);

    // Events, in client pixels. Presses and double clicks answer whether the window must capture
    // the mouse.
    void OnMouseDown(int x, int y, const IMouseState& mod);
    void OnMouseUp(int x, int y, const IMouseState& mod);
    void OnMouseDrag(int x, int y, const IMouseState& mod);
    bool OnMouseDblClick(int x, int y, const IMouseState& mod);
    void OnMouseWheel(int x, int y, const IMouseState& mod, int notches);
    bool OnMouseOver(int x, int y, const IMouseState& mod);
    void OnMouseOut();
    void OnKeyDown(int x, int y, int key);
    void ReleaseMouseCapture();
    // The snapshot face: the events a tool feeds in place of a window, and a frame copy.
    void DeliverMouse(MouseEvent kind, int x, int y, int notches, bool shift, bool control, bool alt) override;
    bool CaptureFrame(std::uint32_t* pixels, std::int64_t capacity, int& width, int& height) override;
    // The captured control, else the topmost visible, enabled control under the point; -1 if none.
    int FindControlAt(int x, int y) const;

    // The pop-up value menu: at most one is open. A menu closed by a press elsewhere leaves a
    // mark that keeps the same press from opening a new one.
    void SetPopup(IControl* popup);
    IControl* Popup() const { return popup; }
    bool PopupSlotEmpty() const { return !popup && !popupDismissed; }
    // Forgets the dismissal mark; an open menu stays recorded.
    void ClearPopupSlot() { popupDismissed = false; }
    // Closes the open menu: from outside (fromPopup false) its owner hears ("", -1) and the
    // dismissal mark is set. The background is redrawn.
    void ClosePopup(bool fromPopup);
    // What Escape does: closes the pop-up value menu and every open drop-down list without a
    // choice (no value changes, the next press acts as usual); answers whether anything closed.
    bool DismissLists();

    int Width() const override { return width; }
    int Height() const override { return height; }
    int FrameRate() const override { return fps; }
    IEditHost* Host() const { return host; }
    const IPromptStyle& PromptStyle() const { return promptStyle; }
    int NumControls() const { return static_cast<int>(controls.size()); }
    IControl* GetControl(int index) const;
    // Whether control is still one of the editor's (a text box may outlive its control).
    bool HoldsControl(const IControl* control) const;
    int MouseCapture() const { return mouseCapture; }
    int MouseOverIndex() const { return mouseOverIdx; }
    void SetMouseOverEnabled(bool enabled) { mouseOverEnabled = enabled; }
    // The back buffer, null before PrepareDrawing.
    const PIX_SysBitmap* BackBuffer() const { return drawBitmap.get(); }
    // A presented region that touches the editor's right or bottom edge, carried on without end
    // past that edge, into any area a host added beyond the editor; the region itself otherwise.
    IBox CarriedPastEdges(const IBox& rect) const;

private:
    int IndexOf(const IControl* control) const;
    // Ends the edit a press or double click began, if any.
    void EndGestureEdit();
    // Ends what is still open before a press or double click; the control under the point.
    int ControlForNewGesture(int x, int y);
    // Opens the host's edit gesture for the control's parameter, if it has one.
    void BeginGesture(int controlIdx);
    // Keeps the stored control indexes pointing at the same controls after an insertion or removal.
    void ShiftIndexes(int at, int delta);

    IPromptStyle promptStyle;
    bool mouseOverEnabled = false;
    int mouseOverIdx = -1;
    IControl* popup = nullptr;
    bool popupDismissed = false;
    std::vector<std::unique_ptr<IControl>> controls;
    std::vector<std::unique_ptr<IFrameClient>> frameClients;
    std::vector<std::uint32_t> shownSerials;  // per parameter, the host-side changes taken up
    IEditHost* host;
    IBox drawRect;
    std::unique_ptr<PIX_SysBitmap> drawBitmap;
    int width;
    int height;
    int fps;
    int mouseCapture = -1;
    int mouseX = -1;
    int mouseY = -1;
    int gestureIdx = -1;  // control that received the last press or double click
    int gestureParam = -1;  // parameter whose edit that gesture began, -1 for none
};
