// The running processes, by the means each system has: the Toolhelp snapshot
// (95, 98, Me, 2000, XP) or, on NT 4.0, which has no Toolhelp, the kernel's
// process information.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kzo {

struct ProcessEntry {
    std::uint32_t id;
    std::string image;  // the program file's name (on 95/98/Me, its full path)
};

// The running processes; false when the system offers no way to list them.
bool listProcesses(std::vector<ProcessEntry>& processes);

}  // namespace kzo
