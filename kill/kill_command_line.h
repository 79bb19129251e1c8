// kill.exe's command line, the matching of image names and the exit code, kept
// apart from the Win32 side (no <windows.h>).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kzo {

// Exit codes of kill.exe.
enum KillExit : int {
    kKillEnded = 0,      // every process found was ended
    kKillUsage = 1,      // wrong arguments (the usage text was shown)
    kKillNotFound = 2,   // a name or id matched no process; the others were ended
    kKillNotEnded = 3,   // a process could not be ended
};

// A process to end: by id, or every process of an image name.
struct KillTarget {
    bool byId = false;
    std::uint32_t id = 0;
    std::string imageName;
};

struct KillCommand {
    enum class Action { Kill, Help, Usage };
    Action action = Action::Usage;
    bool force = false;
    std::vector<KillTarget> targets;
    std::string error;  // why the arguments are wrong (Action::Usage)
};

// The arguments after the program name. "/f" (or "-f", any case) terminates
// without asking first; "/?", "-?", "/h", "-h" and "--help" ask for the usage
// text; a number of at most 10 digits that fits 32 bits and is not 0 is a
// process id; anything else not starting with "/" or "-" is an image name.
KillCommand parseKillCommand(const std::vector<std::string>& arguments);

// Whether a process's image (a file name, or a full path as 95/98/Me report
// it) is the one the user named: the file names equal without regard to ASCII
// case, and a name without an extension stands for the same name + ".exe".
bool imageNameMatches(std::string_view named, std::string_view image);

// The exit code of a run: a process that could not be ended outweighs a target
// that matched nothing.
int killExitCode(std::size_t targetsWithoutProcess, std::size_t notEnded);

std::string killUsageText();

}  // namespace kzo
