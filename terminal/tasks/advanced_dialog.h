// Advanced process settings (dialog 206): after how many seconds a launched
// program is asked to quit and is killed, and the command run when the launch
// fails. Only Application tasks can be asked to quit.
#pragma once

#include <string>

#include "command_rules.h"
#include "dialog_base.h"

namespace kzo {

class AdvancedDialog : public DialogBase {
public:
    // The record's values, the task type now chosen and the AutoQuote setting.
    AdvancedDialog(int32_t killAfter, int32_t quitAfter, std::string onError, int type, bool autoQuote)
        : type_(type), autoQuote_(autoQuote) {
        result_.killAfter = killAfter;
        result_.quitAfter = quitAfter;
        result_.onError = std::move(onError);
    }

    // IDOK with result() checked and filled.
    INT_PTR run(HINSTANCE module, HWND owner);
    const AdvancedOutcome& result() const { return result_; }

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void browse();
    bool onOk() override;

    AdvancedOutcome result_;
    int type_;
    bool autoQuote_;
};

}  // namespace kzo
