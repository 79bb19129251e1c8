// The primary domain's browse list, walked for the "*" targets of Message and
// Shut down tasks.
#pragma once

#include <functional>
#include <string>

#include "platform_actions.h"

namespace kzo {

// NetServerEnum status codes that say the list cannot be had: its entries, if
// any, are not used.
constexpr std::uint32_t kNetAccessDenied = 5;
constexpr std::uint32_t kNetInvalidComputer = 2351;
constexpr std::uint32_t kNetNoBrowserServers = 6118;
constexpr std::uint32_t kNetMoreData = 234;

// Calls visit for every computer of the browse list, in the order returned,
// asking again while the list answers "more data". The enumeration has no
// resume handle, so a list that answers "more data" with nothing new would
// repeat itself for ever: each name is visited once, and the walk ends at the
// first "more data" answer that brings no new name. Returns the last call's
// status (kNetMoreData when the walk ended on a repeating list).
std::uint32_t forEachBrowseListName(NetApi& api, const std::function<void(const std::wstring&)>& visit);

}  // namespace kzo
