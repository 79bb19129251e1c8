// The names and window messages by which the suite's programs find and talk to
// each other: one place for every program that uses them.
#pragma once

namespace kzo {

// The Executor's hidden window: the Terminal finds it by class and title.
constexpr const char* kExecutorClass = "KZOClass";
constexpr const char* kExecutorTitle = "KZO Window";

// Sent to the Executor's window without waiting (SendNotifyMessageA).
// wParam 0 = make active, anything else = make inactive.
constexpr unsigned kSetActiveMessage = 32875;
// wParam 0 = stop the User Scheduler, 1 = stop the System Scheduler.
constexpr unsigned kStopMessage = 32876;

// Named mutexes: a scheduler runs while its mutex exists.
constexpr const char* kUserMutex = "KZOMutexUsr";
constexpr const char* kSystemMutex = "KZOMutexSys";      // the System Scheduler of 95/98/Me
constexpr const char* kSystemServiceMutex = "KZOMutexSysNT";  // the System Executor service
constexpr const char* kTerminalMutex = "KZOTERMINAL";

// The Terminal's main window caption, by which a second Terminal and the
// uninstaller find it.
constexpr const char* kTerminalCaption = "KZO Scheduler 6";
// A window property that the Terminal sets on its first-run dialog, which it
// shows before it has a main window: setup and the uninstaller close it by it.
constexpr const char* kTerminalWindowProperty = "KZOTerminalWindow";

}  // namespace kzo
