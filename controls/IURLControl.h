// IURLControl: an invisible clickable area (the logo) that opens the maker's web site in the
// user's browser, falling back to a second address when the first cannot be opened.
#pragma once

#include "controls/IControl.h"

class IURLControl : public IControl {
public:
    static constexpr int kUrlSize = 256;  // characters, terminator included
    static constexpr int kTitleSize = 1024;

    // Null or empty arguments leave the field empty; longer ones are cut to fit.
    IURLControl(IEditHost* host, const IBox& rect, const char* url, const char* backupUrl, const char* title);

    // Any button: opens the address, or the backup address when the first is empty or refused.
    void OnMouseDown(int x, int y, const IMouseState& mod) override;
    // Invisible: draws nothing.
    bool Draw(IGraphics& graphics) override;

    const char* Url() const { return url; }
    const char* BackupUrl() const { return backupUrl; }
    const char* Title() const { return title; }

private:
    char url[kUrlSize] = {};
    char backupUrl[kUrlSize] = {};
    char title[kTitleSize] = {};
};
