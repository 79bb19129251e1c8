// The Terminal appearance page of the Options sheet (COps0, dialog 211): the
// task list's colours and font, shown on a sample list of the eleven colour
// entries (the last: rows whose last run failed), and the list's and
// toolbars' switches. Every box writes its flag into the working copy at once;
// the page has no validation and no Reset.
#pragma once

#include <windows.h>

#include <vector>

#include "options_page.h"
#include "options_rules.h"
#include "terminal_settings.h"
#include "win_handles.h"

namespace kzo {

class COps0 : public OptionsPage {
public:
    explicit COps0(TerminalSettings& settings) : settings_(settings) {}

private:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onNotify(const NMHDR& header, LRESULT& answer) override;

    void fillSample();
    void showSample();
    void enableColorControls();
    void chooseFont();
    void chooseColor(ColorKind kind);
    std::vector<int> selectedEntries() const;
    bool checked(int id) const;
    LRESULT drawSampleItem(NMLVCUSTOMDRAW& draw) const;

    TerminalSettings& settings_;
    HWND sample_ = nullptr;
    UniqueFont font_;
};

}  // namespace kzo
