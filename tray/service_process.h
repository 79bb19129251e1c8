// Registration as a service process on Windows 95/98/Me, so that the System
// Scheduler survives the user's logoff. kernel32 exports RegisterServiceProcess
// only there; elsewhere nothing is done.
#pragma once

namespace kzo {

// RegisterServiceProcess(current process id, 1 or 0), when kernel32 has it.
// False when it has not.
bool registerServiceProcess(bool registered);

}  // namespace kzo
