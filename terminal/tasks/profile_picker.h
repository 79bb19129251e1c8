// The profile picker (dialog 219, "Task command profiles"): the Command page's
// Profiles... button. OK (or activating a row) gives the chosen profile's
// command, comment and type; Cancel gives an empty command.
#pragma once

#include <string>

#include "dialog_base.h"
#include "profile_store.h"
#include "win_handles.h"

namespace kzo {

class ProfilePicker : public DialogBase {
public:
    ProfilePicker(const std::string& profilesFile, bool oneTouch) : store_(profilesFile), oneTouch_(oneTouch) {}

    INT_PTR run(HINSTANCE module, HWND owner);
    // After IDOK: trimmed; every "|" of the comment a CR.
    const std::string& command() const { return command_; }
    const std::string& comment() const { return comment_; }
    int type() const { return type_; }

protected:
    BOOL onInit() override;
    bool onOk() override;
    void onCancel() override;
    bool onNotify(const NMHDR& header, LRESULT& answer) override;
    void onDestroy() override;

private:
    // Takes the chosen profile; false (with a beep) when there is none.
    bool accept();

    ProfileStore store_;
    bool oneTouch_;
    HINSTANCE module_ = nullptr;
    std::string command_;
    std::string comment_;
    int type_ = 0;
    UniqueImageList images_;
};

}  // namespace kzo
