// The computers the network browser lists: the browse list of the local
// machine through netapi32 (bound at run time), names in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform_actions.h"

namespace kzo {

struct NetworkListing {
    bool ok = false;
    std::uint32_t status = 0;  // the last call's status, or why there was no call
    std::vector<std::string> names;  // in the order returned, each once
};

// Asks the browse list again while it answers "more data" (234) with new
// names; a list that answers 234 with nothing new is complete. ok for a final
// 0 or 234. Without the library (api null) or its NetServerEnum, status is
// loadError.
NetworkListing listNetworkComputers(NetApi* api, std::uint32_t loadError);

// The listing of the running system (netapi32 loaded and freed here).
NetworkListing listNetworkComputers();

}  // namespace kzo
