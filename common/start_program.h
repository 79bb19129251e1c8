// Starting a suite program from setup or the uninstaller: a console of its own
// when it has one, the default error mode, its own VDM on 16-bit systems.
#pragma once

#include <windows.h>

#include <string>

#include "win_handles.h"

namespace kzo {

// Starts the command line without waiting for it, shown as `show`; the
// process handle, or none when it could not be started.
UniqueHandle startProgram(const std::string& commandLine, WORD show);

}  // namespace kzo
