// AutoQuote's view of this system's disk: where CreateProcess looks for a
// program named without a full path, and which files are there.
#pragma once

#include "command_rules.h"

namespace kzo {

// The system folder, the Windows folder and the folders of the PATH, in that
// order (the task's startup folder comes before them, from the page). The file
// test expands environment variables first, as the schedulers do before a
// start, and takes files only, not folders.
ProgramSearch systemProgramSearch();

}  // namespace kzo
