// "Browse for Computer" (dialog 221): the computers the network lists, under
// the root "Microsoft Windows Network" and its folder "Computers". OK gives
// the chosen computer's name, or "*" (every computer) for the root or the
// folder. When the list cannot be had the tree and OK are disabled and the
// status line says that there is no network; the user can only cancel.
#pragma once

#include <string>

#include "dialog_base.h"
#include "win_handles.h"

namespace kzo {

class NetworkBrowser : public DialogBase {
public:
    INT_PTR run(HINSTANCE module, HWND owner);
    // After IDOK: the computer's name or "*", at most 1023 characters.
    const std::string& chosen() const { return chosen_; }

protected:
    BOOL onInit() override;

private:
    bool onOk() override;

    HINSTANCE module_ = nullptr;
    std::string chosen_;
    UniqueImageList images_;
};

}  // namespace kzo
