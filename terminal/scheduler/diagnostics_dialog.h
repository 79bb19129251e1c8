// The Diagnostics command and its dialog (210): a report of both schedulers'
// settings, the system and the selected tasks, for the user to paste into a
// support mail.
#pragma once

#include <windows.h>

#include <string>

#include "dialog_base.h"
#include "win_handles.h"

namespace kzo {

class CMainFrame;

class DiagnosticsDialog : public DialogBase {
public:
    explicit DiagnosticsDialog(std::string report) : report_(std::move(report)) {}

private:
    BOOL onInit() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    std::string report_;
    UniqueFont bold_;
};

// The report of the frame's schedule shown and the tasks selected in its list.
std::string frameDiagnosticsReport(CMainFrame& frame);

// The frame's Diagnostics command: the question (confirmation 5), then the
// dialog.
void runDiagnostics(CMainFrame& frame);

}  // namespace kzo
