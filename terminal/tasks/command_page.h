// The Command page: the task sheet's first page ("Command  ", dialog 207) and
// the new-task wizard's (dialog 202). It edits the task's name, command,
// startup folder or computers, type and flags, adapts its labels and buttons
// to the type, and opens Advanced process settings, Shut Down Windows, the
// network browser, the file and folder browsers and the profile picker.
//
// Validate and store (commandPageRules' storeCommand) runs when the sheet's
// page is left or the sheet confirmed, and at the wizard's Next; a refusal
// keeps the page with its message.
#pragma once

#include <string>

#include "property_page.h"
#include "task_edit_context.h"
#include "win_handles.h"

namespace kzo {

// The page's control ids: the sheet's and the wizard's templates hold the
// same controls under other ids.
struct CommandPageIds {
    int name, profiles, commandLabel, command, browse, folderLabel, folder, folderBrowse;
    int firstType, advanced, active, runOnce, minimized, interactive;
};

class CommandPage : public PropertyPage {
public:
    CommandPage(TaskEditContext& context, TaskEditHost& host, bool wizard);

    PROPSHEETPAGEA sheetPage();

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onDropFiles(HDROP drop) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    bool onSetActive() override;
    bool onKillActive() override;
    bool onApply() override;
    LRESULT onWizardNext() override;
    bool onWizardFinish() override;
    void onHelp() override;

private:
    int checkedType() const;
    void checkType(int type);
    void adaptLabels();
    void browseCommand();
    void browseFolder();
    void openAdvanced();
    void openProfiles();
    bool validate();

    TaskEditContext& context_;
    TaskEditHost& host_;
    bool wizard_;
    const CommandPageIds& ids_;
    std::string openingName_;
    bool validated_ = false;  // accepted since the last change of a control
    UniqueFont heading_;
};

}  // namespace kzo
