// The installer's wizard-97 sheet CWizard97 and its pages: CWiz0 (the install
// folder), CWiz1 (components, operating system, icons; its Next installs) and
// CWiz2 (Finish starts the executors).
#pragma once

#include <windows.h>

#include <string>

#include "install_plan.h"
#include "property_page.h"
#include "win_handles.h"

namespace kzo {

// What the pages fill in and the result of the run.
struct SetupState {
    InstallOptions options;
    bool installed = false;
    bool finished = false;
};

// A page of the wizard. The outer pages (the first and the last) show the
// watermark at the left and their title large and bold on white; the inner
// one has its title in the sheet's header band. Cancel asks whether to quit
// on every page.
class SetupPage : public PropertyPage {
public:
    SetupPage(SetupState& state, unsigned titleId, bool outer) : state_(state), titleId_(titleId), outer_(outer) {}

    // The page for the sheet: outer pages hide the header, inner ones show the
    // title in it.
    PROPSHEETPAGEA sheetPage(HINSTANCE module, int templateId);

protected:
    BOOL onInit() override;
    bool onSetActive() override;
    bool onQueryCancel() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    // The sheet's buttons while the page shows (PSWIZB_*).
    virtual DWORD wizardButtons() const = 0;

    SetupState& state_;

private:
    unsigned titleId_;
    bool outer_;
    std::string title_;
    std::string caption_;
    UniqueFont titleFont_;
};

class CWiz0 : public SetupPage {
public:
    explicit CWiz0(SetupState& state);

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    LRESULT onWizardNext() override;
    DWORD wizardButtons() const override { return PSWIZB_NEXT; }

private:
    void browse();
};

class CWiz1 : public SetupPage {
public:
    explicit CWiz1(SetupState& state);

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    LRESULT onWizardNext() override;
    DWORD wizardButtons() const override { return PSWIZB_BACK | PSWIZB_NEXT; }

private:
    void readChoices();
};

class CWiz2 : public SetupPage {
public:
    explicit CWiz2(SetupState& state);

protected:
    bool onWizardFinish() override;
    DWORD wizardButtons() const override { return PSWIZB_BACK | PSWIZB_FINISH; }
};

class CWizard97 {
public:
    explicit CWizard97(SetupState& state) : wiz0_(state), wiz1_(state), wiz2_(state) {}

    // Runs the wizard modally over owner. Returns PropertySheetA's result;
    // rethrows what a page threw.
    INT_PTR run(HINSTANCE module, HWND owner);

private:
    CWiz0 wiz0_;
    CWiz1 wiz1_;
    CWiz2 wiz2_;
};

}  // namespace kzo
