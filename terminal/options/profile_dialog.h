// The profile dialog (dialog 220): a task profile's name, command, type and
// comment, for the Task Profiles page's New and Edit. Files dropped on it
// become the command.
#pragma once

#include <string>

#include "dialog_base.h"

namespace kzo {

struct ProfileFields {
    std::string name;
    std::string command;
    int type = 0;  // 0 Application .. 3 Shut down
    std::string comment;
};

class ProfileDialog : public DialogBase {
public:
    // editing: "Edit profile", else "New profile".
    ProfileDialog(ProfileFields fields, bool editing) : fields_(std::move(fields)), editing_(editing) {}

    INT_PTR run(HINSTANCE module, HWND owner);
    // After IDOK: the trimmed texts, name and command not empty.
    const ProfileFields& fields() const { return fields_; }

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void browse();
    bool onOk() override;

    ProfileFields fields_;
    bool editing_;
};

}  // namespace kzo
