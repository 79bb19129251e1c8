// tickr.exe: the Executor. No arguments: the User Scheduler; "/s": the System
// Scheduler of Windows 95/98/Me.
#include <windows.h>

#include "executor.h"
#include "executor_boxes.h"
#include "resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    // Never destroyed: launch threads still running when the program ends
    // present through its actions until the process is gone.
    kzo::Executor* executor = nullptr;
    try {
        executor = new kzo::Executor(instance);
        return executor->run(arguments);
    } catch (...) {
        // The loop finishes any write-back before the process ends.
        try {
            if (executor) executor->stop();
        } catch (...) {
        }
        MessageBeep(0xFFFFFFFF);
        kzo::showExecutorBox(kzo::executorText(IDS_EXCEPTION, "There was an exception."),
                             kzo::errorCaption(), MB_OK | MB_ICONERROR);
        return kzo::kExitFailed;
    }
}
