// The installation itself (stopping running copies, folders, files, registry,
// shortcuts, the System Scheduler) and the start of the executors at Finish.
#pragma once

#include <windows.h>

#include <string>

#include "install_plan.h"

namespace kzo {

// Runs the install steps in order into the folder of the options. Every
// failure has been shown to the user (owner: the messages' window) when it
// returns false; files already copied stay.
bool installSuite(HWND owner, const InstallOptions& options);

// The typed folder made full and canonical (installFolderOf); a relative one
// starts from the system's current folder of its drive.
InstallFolder resolveInstallFolder(const std::string& typedFolder);

// Starts the User Scheduler and, when chosen, the System Scheduler (the
// service on the NT family, "tickr.exe /s" otherwise) without waiting.
void startExecutors(const InstallOptions& options);

// The machine's program files folder (ProgramFilesDir), or empty.
std::string programFilesFolder();

// Whether the user's token holds the local Administrators group, enabled.
bool userIsAdministrator();

}  // namespace kzo
