#include "shutdown.h"

#include <memory>
#include <string>

#include "browse_list.h"
#include "code_page.h"
#include "shutdown_keyword.h"
#include "target_list.h"

namespace kzo {

namespace {

constexpr std::uint32_t kErrorModuleNotFound = 126;  // ERROR_MOD_NOT_FOUND
constexpr std::uint32_t kErrorProcNotFound = 127;    // ERROR_PROC_NOT_FOUND

// Keeps the first failure of a list.
void noteFirst(std::uint32_t* firstError, std::uint32_t error) {
    if (firstError && *firstError == 0) *firstError = error;
}

// The result of a shutdown call: 1 when it succeeded, else 0 with its error.
int shutdownResult(std::uint32_t status, std::uint32_t* error) {
    if (error) *error = status;
    return status == 0 ? 1 : 0;
}

}  // namespace

int runShutdown(PlatformActions& actions, std::string_view keyword, std::string_view computers,
                std::uint32_t* firstError) {
    if (firstError) *firstError = 0;
    std::uint32_t exitMode = exitModeForKeyword(keyword);
    std::uint32_t error = 0;
    if (computers.empty()) {
        shutdownLocal(actions, exitMode, &error);
        noteFirst(firstError, error);
        return 0;
    }
    for (const std::string& entry : splitTargetList(computers)) {
        error = 0;
        if (entry == ".") {
            shutdownLocal(actions, exitMode, &error);
        } else if (entry.find('*') != std::string::npos) {
            shutdownBrowseList(actions, exitMode, &error);
        } else {
            shutdownRemote(actions, exitMode, entry.c_str(), &error);
        }
        noteFirst(firstError, error);
    }
    return 0;
}

int shutdownLocal(PlatformActions& actions, std::uint32_t exitMode, std::uint32_t* error) {
    if (actions.isNtPlatform() && !actions.enablePrivilege("SeShutdownPrivilege"))
        return shutdownResult(kErrorPrivilegeNotHeld, error);
    actions.sleepMs(kLocalShutdownDelayMs);
    return shutdownResult(actions.exitWindows(exitMode | kExitForce), error);
}

int shutdownRemote(PlatformActions& actions, std::uint32_t exitMode, const char* computer,
                   std::uint32_t* error) {
    if (error) *error = 0;
    // No name would be the local computer to InitiateSystemShutdownA.
    if (!computer || !*computer) return 0;
    if (actions.isNtPlatform() && !actions.enablePrivilege("SeRemoteShutdownPrivilege"))
        return shutdownResult(kErrorPrivilegeNotHeld, error);
    return shutdownResult(actions.initiateShutdown(computer, kRemoteShutdownNotice,
                                                   kRemoteShutdownSeconds, true,
                                                   remoteRestartsAfter(exitMode)),
                          error);
}

bool shutdownBrowseList(PlatformActions& actions, std::uint32_t exitMode, std::uint32_t* firstError) {
    std::unique_ptr<NetApi> api = actions.loadNetApi();
    if (!api || !api->hasServerEnum()) {
        noteFirst(firstError, api ? kErrorProcNotFound : kErrorModuleNotFound);
        return false;
    }
    forEachBrowseListName(*api, [&](const std::wstring& name) {
        std::uint32_t error = 0;
        shutdownRemote(actions, exitMode, wideToAnsi(name).c_str(), &error);
        noteFirst(firstError, error);
    });
    return true;
}

}  // namespace kzo
