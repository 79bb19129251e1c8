// The System Information window (222): the system, the computer's name, its
// processor and memory, and the time, which a timer rewrites every second.
#pragma once

#include <windows.h>

#include "dialog_base.h"
#include "task_cells.h"

namespace kzo {

class CMainFrame;

class SystemInformationDialog : public DialogBase {
public:
    explicit SystemInformationDialog(bool oneTouch) : oneTouch_(oneTouch) {}

private:
    BOOL onInit() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void onDestroy() override;
    void setValue(int row, const std::string& text);

    bool oneTouch_;
    HWND list_ = nullptr;
    TaskListNames names_;
};

void showSystemInformation(CMainFrame& frame);

}  // namespace kzo
