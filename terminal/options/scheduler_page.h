// The scheduler pages of the Options sheet: User Scheduler (COps1, dialog 212)
// and System Scheduler (COps2, dialog 213) edit one scheduler's settings with
// the same controls and rules; COps2d (dialog 214) only says that the System
// Scheduler's settings cannot be changed.
#pragma once

#include <windows.h>

#include "options_page.h"
#include "options_rules.h"
#include "terminal_scheduler_settings.h"

namespace kzo {

class SchedulerPage : public OptionsPage {
public:
    bool leave() override;
    bool resettable() const override { return true; }
    // Run automatically, Active, Report errors and the run history on, Warn
    // off, refresh 10 minutes; the rest as it is.
    void reset() override;

protected:
    // lockTopMost: the System Scheduler on the NT family, whose service shows
    // its boxes topmost whatever is set.
    SchedulerPage(TerminalSchedulerSettings& settings, bool lockTopMost);

private:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onDropFiles(HDROP drop) override;

    void browse(int edit, unsigned filter, const char* extension);
    void enableLogControls();
    void refuse(unsigned message, SchedulerField field);
    bool checked(int id) const;
    void check(int id, bool on);

    TerminalSchedulerSettings& settings_;
    bool lockTopMost_;
};

class COps1 : public SchedulerPage {
public:
    explicit COps1(TerminalSchedulerSettings& user) : SchedulerPage(user, false) {}
};

class COps2 : public SchedulerPage {
public:
    COps2(TerminalSchedulerSettings& system, bool nt) : SchedulerPage(system, nt) {}
};

class COps2d : public OptionsPage {};

}  // namespace kzo
