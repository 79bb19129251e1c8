#include "shutdown.h"

#include <memory>
#include <string>

#include "browse_list.h"
#include "code_page.h"
#include "shutdown_keyword.h"
#include "target_list.h"

namespace kzo {

int runShutdown(PlatformActions& actions, std::string_view keyword, std::string_view computers) {
    std::uint32_t exitMode = exitModeForKeyword(keyword);
    if (computers.empty()) {
        shutdownLocal(actions, exitMode);
        return 0;
    }
    for (const std::string& entry : splitTargetList(computers)) {
        if (entry == ".") {
            shutdownLocal(actions, exitMode);
        } else if (entry.find('*') != std::string::npos) {
            shutdownBrowseList(actions, exitMode);
        } else {
            shutdownRemote(actions, exitMode, entry.c_str());
        }
    }
    return 0;
}

int shutdownLocal(PlatformActions& actions, std::uint32_t exitMode) {
    if (actions.isNtPlatform() && !actions.enablePrivilege("SeShutdownPrivilege")) return 0;
    actions.sleepMs(kLocalShutdownDelayMs);
    return actions.exitWindows(exitMode | kExitForce) ? 1 : 0;
}

int shutdownRemote(PlatformActions& actions, std::uint32_t exitMode, const char* computer) {
    // No name would be the local computer to InitiateSystemShutdownA.
    if (!computer || !*computer) return 0;
    if (actions.isNtPlatform() && !actions.enablePrivilege("SeRemoteShutdownPrivilege")) return 0;
    return actions.initiateShutdown(computer, kRemoteShutdownNotice, kRemoteShutdownSeconds, true,
                                    remoteRestartsAfter(exitMode))
               ? 1
               : 0;
}

bool shutdownBrowseList(PlatformActions& actions, std::uint32_t exitMode) {
    std::unique_ptr<NetApi> api = actions.loadNetApi();
    if (!api || !api->hasServerEnum()) return false;
    forEachBrowseListName(*api, [&](const std::wstring& name) {
        shutdownRemote(actions, exitMode, wideToAnsi(name).c_str());
    });
    return true;
}

}  // namespace kzo
