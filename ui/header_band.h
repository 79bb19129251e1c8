// The white band at the top of the Terminal's task sheet and options dialogs
// (and setup's): the dialog is painted white from its top down to the band's
// lower edge, an etched line under it; the title (bold) and the description,
// and any other static inside the band, are drawn black on white.
#pragma once

#include <windows.h>

#include <string>

#include "subclass_wnd.h"
#include "win_handles.h"

namespace kzo {

class HeaderBand : public CSubclassWnd {
public:
    // Attaches to the dialog (call from its onInit). titleId and descriptionId
    // name its two static texts; the band reaches down to the top of control
    // bottomMarkId (an etched line, say), or with 0 to 8 pixels below the
    // description. False when the dialog or the title is missing.
    bool attach(HWND dialog, int titleId, int descriptionId, int bottomMarkId = 0);

    void setTitle(const std::string& text);
    void setDescription(const std::string& text);
    // The band's height in the dialog's client pixels.
    int height() const { return height_; }

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool insideBand(HWND control) const;
    void measureBand();
    void repaintText(int id);

    int titleId_ = 0;
    int descriptionId_ = 0;
    int bottomMarkId_ = 0;
    int height_ = 0;
    UniqueFont bold_;
};

}  // namespace kzo
