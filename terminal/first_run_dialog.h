// The first-run dialog: a user without a schedule file of their own picks one,
// and it is stored as the user's DAT.
#pragma once

#include <windows.h>

#include <string>

#include "dialog_base.h"

namespace kzo {

class FirstRunDialog : public DialogBase {
public:
    // proposed: the default user schedule file; userName as shown after
    // "User :". schedulerRoot and schedulerKey: where DAT is written.
    FirstRunDialog(std::string proposed, std::string userName, HKEY schedulerRoot, const char* schedulerKey);

    // The field's last text: what the user chose with OK, or after Cancel the
    // proposed file (then not stored).
    const std::string& file() const { return file_; }

private:
    BOOL onInit() override;
    void onDestroy() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void browse();
    bool onOk() override;

    std::string file_;
    std::string userName_;
    HKEY root_;
    const char* key_;
};

}  // namespace kzo
