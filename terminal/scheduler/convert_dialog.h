// The Convert dialog (215): a schedule file of an earlier version's records
// converted into a file of today's task records; and the frame's Convert
// command, which offers the converted file as the working schedule.
#pragma once

#include <windows.h>

#include <string>

#include "dialog_base.h"

namespace kzo {

class CMainFrame;

class ConvertDialog : public DialogBase {
public:
    // source: the name the source field starts with (the schedule open now).
    explicit ConvertDialog(std::string source) : source_(std::move(source)) {}

    // After OK: the target the records went to, as a full path.
    const std::string& target() const { return target_; }

private:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void browse(int edit, unsigned filter);
    bool onOk() override;

    std::string source_;
    std::string target_;
};

// The frame's Convert command.
void runConvert(CMainFrame& frame);

}  // namespace kzo
