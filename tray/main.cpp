// tickr.exe: the Executor. No arguments: the User Scheduler; "/s": the System
// Scheduler of Windows 95/98/Me.
#include <windows.h>

#include "executor.h"
#include "executor_boxes.h"
#include "resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    try {
        // Never destroyed: launch threads still running when the program ends
        // present through its actions until the process is gone.
        auto* executor = new kzo::Executor(instance);
        return executor->run(arguments);
    } catch (...) {
        MessageBeep(0xFFFFFFFF);
        kzo::showExecutorBox(kzo::executorText(IDS_EXCEPTION, "There was an exception."),
                             kzo::errorCaption(), MB_OK | MB_ICONERROR);
        return kzo::kExitFailed;
    }
}
