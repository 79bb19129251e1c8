#include "launch_thread.h"

#include <windows.h>

#include <memory>
#include <new>

#include "launch_fields.h"
#include "launchers.h"
#include "shutdown.h"

namespace kzo {

namespace {

struct ThreadStart {
    LaunchRequest request;
    PlatformActions* actions;
    LaunchOptions options;
};

DWORD WINAPI launchThreadEntry(void* parameter) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    // The thread's own copy: the request's block is freed at once.
    LaunchRequest request = start->request;
    PlatformActions& actions = *start->actions;
    LaunchOptions options = start->options;
    start.reset();
    try {
        return static_cast<DWORD>(runLaunch(request, actions, options));
    } catch (...) {
        // A launch that fails this way ends alone; it takes nothing else down.
        return 0;
    }
}

}  // namespace

int runLaunch(const LaunchRequest& request, PlatformActions& actions, const LaunchOptions& options) {
    TaskRecord task = request.task;
    expandRecordMacros(task, request.time);
    // The launch thread's working storage: three 2599-byte buffers.
    auto fields = std::make_unique<LaunchFields>();
    expandLaunchFields(task, *fields);

    const bool ask = options.prompt && request.warn;
    // The prompt shows the command after its macros, before the environment.
    if (ask && task.type != kTypeMessage && !actions.confirmLaunch(task, task.command)) return -1;

    std::uint32_t result = 0;
    switch (task.type) {
        case kTypeMessage:
            sendMessage(actions, task.command, task.folder, options.caller);
            return 0;
        case kTypeShutdown:
            runShutdown(actions, task.command, task.folder);
            return 0;
        case kTypeDocument:
            result = launchDocument(fields->command, fields->folder, fields->onError,
                                    task.killAfter, task.quitAfter, task.runMinimized != 0);
            break;
        default:  // Application, and any unknown type
            result = launchApplication(fields->command, fields->folder, fields->onError,
                                       task.killAfter, task.quitAfter, task.runMinimized != 0);
            break;
    }
    if (result != 0 && options.reportErrors && request.repErr) {
        actions.beep();
        actions.showLaunchError(task, task.command, result);
    }
    return 0;
}

bool startLaunchThread(const LaunchRequest& request, PlatformActions& actions,
                       const LaunchOptions& options) {
    ThreadStart* start = new (std::nothrow) ThreadStart{request, &actions, options};
    if (!start) return false;
    HANDLE thread = CreateThread(nullptr, 0, launchThreadEntry, start, 0, nullptr);
    if (!thread) {
        delete start;
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace kzo
