// The Options command: the options dialog (217) with its white header band,
// hosting the property sheet COps with the pages User Scheduler, System
// Scheduler (or its inaccessible stand-in), Terminal appearance, System
// settings and Task Profiles; on OK the working copies become the settings.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog_base.h"
#include "header_band.h"
#include "options_page.h"
#include "subclass_wnd.h"

namespace kzo {

class CMainFrame;

// The sheet and its pages, in page order.
class COps {
public:
    COps(CMainFrame& frame, OptionsModel& model);
    ~COps();

    // Creates the sheet as a child of dialog at the placeholder, showing page
    // startPage. Null when it could not be made.
    HWND create(HWND dialog, HWND placeholder, int startPage);
    HWND sheet() const { return sheet_; }

    // The leave-page validation of every page that was shown: the current page
    // first, then the others in page order. False when one refused; it is then
    // the page shown.
    bool validate();

    // The page shown now (-1 before creation), its header text and Reset.
    int currentPage() const;
    std::string description(int page) const;
    bool resettable(int page) const;
    void reset(int page);
    HWND pageWindow(int page) const;
    bool shown(int page) const;
    int systemPage() const { return systemPage_; }

private:
    struct Entry {
        std::unique_ptr<PropertyPage> page;
        OptionsPage* options;  // nullptr for a page of another feature
        int templateId;
        unsigned header;       // string number of the header text
    };
    void addPage(std::unique_ptr<PropertyPage> page, int templateId, unsigned header);
    void select(int page);

    CMainFrame& frame_;
    OptionsModel& model_;
    std::vector<Entry> entries_;
    int systemPage_ = 1;
    HWND sheet_ = nullptr;
};

// Dialog 217.
class OptionsDialog : public DialogBase {
public:
    OptionsDialog(CMainFrame& frame, OptionsModel& model, int startPage);

    // Whether the System Scheduler page was ever shown.
    bool systemPageShown() const;

private:
    // Watches the sheet for page changes, so the band follows the page.
    class SheetWatch : public CSubclassWnd {
    public:
        explicit SheetWatch(OptionsDialog& owner) : owner_(owner) {}

    protected:
        LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        OptionsDialog& owner_;
    };

    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void layOut();
    void pageChanged();
    bool onOk() override;

    CMainFrame& frame_;
    COps sheet_;
    int startPage_;
    HeaderBand band_;
    SheetWatch watch_{*this};
};

// The Options command of the frame.
void runOptions(CMainFrame& frame);

// Adds the Options command (F2) to the frame's commands.
void registerOptionsCommand(CMainFrame& frame);

}  // namespace kzo
