// The Task Profiles page of the Options sheet (COps3, dialog 216, tab "Task
// Profiles"): the profiles of "kzo.pro" in the Terminal's folder in a list,
// with New (F3), Edit (F4, double click, or one click with one-touch) and
// Delete (Del) on a button strip; every change is saved at once and the list
// refilled from the file. Leaving the page empties the list.
#pragma once

#include "button_strip.h"
#include "profile_store.h"
#include "property_page.h"
#include "win_handles.h"

namespace kzo {

class CMainFrame;

class ProfilesPage : public PropertyPage {
public:
    explicit ProfilesPage(CMainFrame& frame);

    // The page for the Options sheet (dialog 216, the template's tab text).
    PROPSHEETPAGEA sheetPage();

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onNotify(const NMHDR& header, LRESULT& answer) override;
    bool onSetActive() override;
    bool onKillActive() override;
    void onDestroy() override;

private:
    void refill();
    void empty();
    void newProfile();
    void editProfile();
    void deleteProfiles();
    bool saveProfiles();

    CMainFrame& frame_;
    ProfileStore store_;
    ButtonStrip strip_;
    UniqueImageList images_;
};

}  // namespace kzo
