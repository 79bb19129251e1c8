// Which folder the uninstaller may empty: pure decisions on paths and the
// Uninstall entry, without <windows.h>.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kzo {

// The folder of a program path: cut after its last "\", "/" or ":" (so it ends
// in the separator), trimmed of blanks. Empty when the path has no separator.
std::string programFolderOf(std::string_view programPath);

// The folder of the program that a command line names (the UninstallString):
// the text inside the leading pair of double quotes, or, without quotes, the
// whole trimmed text. Empty when the command names no folder.
std::string folderOfCommand(std::string_view commandLine);

// Whether two folders are the same as Windows reads them: ASCII letters
// compared without case, "/" and "\" alike, trailing separators and
// surrounding blanks ignored, and each name without its trailing dots and
// blanks (an older setup stored the folder "KZO." that Windows made "KZO").
bool sameFolder(std::string_view a, std::string_view b);

// The folder with a "\" added when it ends in neither "\" nor "/".
std::string withSeparator(std::string_view folder);

// Whether the uninstaller's folder is the installation, so that its files may
// be deleted. With an Uninstall entry (a non-empty UninstallString) the folder
// must be the folder of that command; without one it must hold one of the
// suite's programs. Anything else (a copy in Downloads, in a system folder) is
// not the installation.
bool isInstallationFolder(std::string_view programFolder, std::string_view uninstallString,
                          bool holdsSuitePrograms);

// The names whose presence marks a folder as holding the suite's programs.
const std::vector<std::string>& suiteProgramNames();

// Paths joined into the list that the shell's file operations take: each path
// ended by a zero, the list by a second zero.
std::string doubleZeroList(const std::vector<std::string>& paths);

}  // namespace kzo
