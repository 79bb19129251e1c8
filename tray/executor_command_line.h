// What the Executor takes from its command line: its mode, and where the
// Terminal program lies (beside the Executor). Pure: no windows.h.
#pragma once

#include <string>
#include <string_view>

namespace kzo {

// The Terminal's program file, in the Executor's own folder.
constexpr const char* kTerminalProgram = "KZO.exe";

// System mode: the arguments (the command line after the program name),
// trimmed of blanks and upper-cased, are exactly "/S". Anything else, nothing
// included, is user mode: "/s" and " /S " select system mode, "/S x" does not.
bool isSystemModeArgument(std::string_view arguments);

// The Terminal's path from the whole process command line: the text before
// the first " /" (the arguments), the text between the first two double quotes
// when there is a quote (the quoted program path), cut after its last ':', '/'
// or '\' (nothing left when there is none), then "KZO.exe".
//   "\"C:\\Program Files\\KZO\\tickr.exe\" /s" -> "C:\\Program Files\\KZO\\KZO.exe"
//   "tickr.exe"                               -> "KZO.exe"
std::string terminalPathFrom(std::string_view commandLine);

// A file of the Terminal's folder: the folder of terminalPath (without its
// trailing separator; "." when it has none) followed by name, which starts with
// a backslash ("\\kzo.hlp"). A drive alone ("C:KZO.exe") stays as it is.
std::string terminalFolderFile(std::string_view terminalPath, std::string_view name);

// A command line that starts program with arguments (arguments start with
// their blank, " /ABOUT"): the program path in double quotes, so that a folder
// with blanks cannot be taken for a shorter program path.
std::string quotedCommand(std::string_view program, std::string_view arguments = {});

}  // namespace kzo
