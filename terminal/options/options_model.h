// The Options sheet's model: the working copies its pages edit, and how they
// are made from the live settings and become them again on OK. No windows.
#pragma once

#include "terminal_scheduler_settings.h"
#include "terminal_settings.h"

namespace kzo {

// The sheet's working copies: the live records change only when the sheet
// closes with OK. The confirmation flags are the frame's own, edited in place.
struct OptionsModel {
    explicit OptionsModel(ConfirmationFlags& flags) : confirmations(flags) {}

    TerminalSettings terminal;
    TerminalSchedulerSettings user;
    TerminalSchedulerSettings system;
    bool systemEditable = false;
    bool nt = true;  // the NT family: the System Scheduler is the service
    ConfirmationFlags& confirmations;
};

// The frame keeps these in the live record while it runs (placement, columns,
// sort, bars); the sheet's fresh copy takes them over so that saving it does
// not bring back what was stored before.
void keepFrameState(TerminalSettings& working, const TerminalSettings& live);

// On OK: the working record becomes the live one (the view and the schedule
// shown stay), with the scheduler values it copies (those of the system set
// only when they could be edited).
void takeOver(TerminalSettings& live, const OptionsModel& model);

}  // namespace kzo
