// The target list of Message and Shut down tasks: the Startup folder field read
// as entries separated by ",", each trimmed of blanks, empty entries skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kzo {

// The list's non-empty entries in order. The whole list is split, however
// long: the field holds up to 511 characters and a target at its end counts.
std::vector<std::string> splitTargetList(std::string_view list);

}  // namespace kzo
