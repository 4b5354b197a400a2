// IDropDown: a bitmap selector for a parameter with a few discrete values. Closed, it shows the
// frame of its face image that matches the value; a left press opens a list image of all
// choices below (or above) it, an IDropDownChild, from which the user picks a new value.
#pragma once

#include "controls/IControl.h"
#include "graphics/IImage.h"

class IDropDownChild;

class IDropDown : public IControl {
public:
    // Where the list opens relative to the face.
    enum Placement : int {
        kBelowLeft = 0,  // left edges aligned, below
        kBelowRight = 1,  // right edges aligned, below
        kAboveLeft = 2,
        kAboveRight = 3,
        // any other value: centred below
    };

    // The face's frames are stacked vertically (faceBitmap.N of them); the rectangle has one
    // spare pixel row above and below the face, whose top-left corner is (x, y).
    IDropDown(IEditHost* host, int paramIdx, int x, int y, const IImage& faceBitmap, const IImage& listBitmap,
              int columns, int placement);

    // A left press opens or closes the list; a right press only closes it. Every press pushes
    // the current value to the plug-in.
    void OnMouseDown(int x, int y, const IMouseState& mod) override;
    // The wheel never changes a selector.
    void OnMouseWheel(int x, int y, const IMouseState& mod, int d) override;
    // Commits a value chosen in the list, then draws the face frame of the value.
    bool Draw(IGraphics& graphics) override;
    // A value from the plug-in closes the list but is never sent back as the user's choice.
    void SetValueFromParam(double v) override;
    // Hides an open list; the value stays as it is and nothing is sent.
    bool DismissList() override;

    // The list, or null before the first opening. Owned by the graphics core.
    IDropDownChild* List() const { return list; }
    bool IsOpen() const { return shown; }

private:
    // Height of one face frame, to the nearest pixel.
    int FaceHeight() const;
    // Top-left corner of a new list according to `placement`.
    void ListOrigin(int& left, int& top) const;
    void CloseList();

    IDropDownChild* list = nullptr;
    IImage faceBitmap;
    IImage listBitmap;
    double lastDrawnValue = 0.0;
    int columns;
    int placement;
    bool shown = false;
    bool created = false;
};
