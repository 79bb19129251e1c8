// The System settings page of the Options sheet (Cops4, dialog 240): the seven
// confirmation dialogs in a check-box list with a strip of Select All and
// Unselect All, one Terminal at a time, automatic quoting, the help type.
// Leaving the page stores the confirmation flags in the registry at once.
#pragma once

#include <windows.h>

#include "button_strip.h"
#include "options_page.h"
#include "terminal_settings.h"

namespace kzo {

class Cops4 : public OptionsPage {
public:
    Cops4(TerminalSettings& settings, ConfirmationFlags& confirmations)
        : settings_(settings), confirmations_(confirmations) {}

    bool leave() override;
    bool resettable() const override { return true; }
    // Every confirmation on; OneInst and AutoQuote on.
    void reset() override;

private:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;

    void checkAll(bool on);
    bool checked(int id) const;

    TerminalSettings& settings_;
    ConfirmationFlags& confirmations_;
    HWND list_ = nullptr;
    ButtonStrip strip_;
};

}  // namespace kzo
