// The frame's commands for the schedulers: Start, Stop, Active, View and Clear
// Logfile, Convert, Diagnostics, System Information, Schedule properties and
// History.
#pragma once

namespace kzo {

class CMainFrame;

void registerSchedulerCommands(CMainFrame& frame);

}  // namespace kzo
