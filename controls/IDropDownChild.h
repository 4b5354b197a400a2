// IDropDownChild: the open list of an IDropDown. It shows one prepared image of all choices,
// laid out in columns and numbered column by column, and turns a press on one of them into the
// selector's new normalised value, which the selector commits when it next draws.
#pragma once

#include "controls/IControl.h"
#include "graphics/IImage.h"

class IDropDownChild : public IControl {
public:
    // target: the selector's value, written on a choice; not owned. The list has no parameter.
    IDropDownChild(IEditHost* host, double* target, int x, int y, const IImage& listBitmap, int columns);

    // A left press on a choice writes it to the target and hides the list; a press below the
    // last row, or a right press, changes nothing.
    void OnMouseDown(int x, int y, const IMouseState& mod) override;
    bool Draw(IGraphics& graphics) override;

    // The normalised value of the choice under (x, y), or a negative number where there is none.
    double ChoiceAt(int x, int y) const;

private:
    IImage listBitmap;
    double* target;
    int columns;
};
