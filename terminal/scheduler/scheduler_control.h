// Control of the executor of the schedule shown: start, stop, active or
// inactive, its log file. The executor of the user schedule is the User
// Scheduler (tickr.exe); of the system schedule the System Executor service on
// the NT family and "tickr.exe /s" on 95/98/Me, told apart by the system's
// version information. Nothing here keeps state: every command reads the
// registry, the window list or the service manager afresh.
#pragma once

#include <windows.h>

#include <string>

namespace kzo {

class CMainFrame;

// How the executor of a schedule is reached.
enum class ExecutorRoute {
    TrayProgram,  // tickr.exe (with /s for the system schedule), window messages
    Service,      // the service "KZO Scheduler" through the service manager
};
ExecutorRoute executorRoute(bool systemSchedule);

// The "Active" value of the scheduler's key (HKEY_LOCAL_MACHINE for the
// system schedule, else HKEY_CURRENT_USER): missing, of another type or size,
// or any value but 0 count as active.
bool schedulerActive(bool systemSchedule);

// Whether the executor of the schedule runs: its named mutex exists. For the
// system schedule both the 95/98/Me System Scheduler's mutex and the
// service's count.
bool schedulerRunning(bool systemSchedule);

// Sends the message to every executor window ("KZOClass", "KZO Window")
// without waiting for it: an executor that the message is not meant for
// ignores it, so with a User and a 95/98/Me System Scheduler side by side the
// right one is reached whichever the system finds first. Up to three attempts,
// each looking the windows up again. Returns whether any window was found at
// the first attempt.
bool notifyExecutors(UINT message, WPARAM wParam);

// The commands, on the schedule the frame shows.
void startScheduler(CMainFrame& frame);
void stopScheduler(CMainFrame& frame);
void toggleActive(CMainFrame& frame);
void viewLogfile(CMainFrame& frame);
void clearLogfile(CMainFrame& frame);

// The log file setting of the schedule shown, trimmed and unexpanded; and
// whether logging is on for it.
std::string shownLogFile(CMainFrame& frame);
bool shownLogging(CMainFrame& frame);

}  // namespace kzo
