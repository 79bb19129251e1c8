// The command line of the System Executor: none (run as a service), "/r"
// (register), "/u" (unregister) or "/d" (run as a console program). The
// argument may start with "/" or "-" and is compared case-insensitively.
#pragma once

#include <string>
#include <vector>

namespace kzo {

enum class ServiceCommand { RunService, Register, Unregister, Debug, Usage };

// args are the arguments after the program name. Anything else than none or one
// of the three arguments, or more than one argument, asks for the usage text.
ServiceCommand parseServiceCommand(const std::vector<std::string>& args);

// The usage text, each line ending in "\n\r" (line feed, then carriage return).
std::string usageText();

}  // namespace kzo
