// The frame's commands for the schedulers and the settings: Start, Stop,
// Active, View and Clear Logfile, Options, Convert, Diagnostics, System
// Information and Schedule properties.
#pragma once

namespace kzo {

class CMainFrame;

void registerSchedulerCommands(CMainFrame& frame);

}  // namespace kzo
