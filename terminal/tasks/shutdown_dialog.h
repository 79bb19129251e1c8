// Shut Down Windows (dialog 204): the keyword of a Shut down task, chosen by
// its radio button (TURNOFF, SHUTDOWN, REBOOT, LOGOFF).
#pragma once

#include "dialog_base.h"

namespace kzo {

class ShutdownDialog : public DialogBase {
public:
    // choice: 0..3 in the order above (shutdownChoiceFor).
    explicit ShutdownDialog(int choice) : choice_(choice) {}

    INT_PTR run(HINSTANCE module, HWND owner);
    int choice() const { return choice_; }

protected:
    BOOL onInit() override;
    bool onOk() override;

private:
    int choice_;
};

}  // namespace kzo
