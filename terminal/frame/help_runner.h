// The help of the Terminal: HTML Help (hh.exe with "KZO.chm" and the topic of
// the context) or Windows Help ("KZO.hlp" at the context number), from the
// program's own folder.
#pragma once

#include <windows.h>

#include <string>

namespace kzo {

// The HTML Help topic of a help context (0-3), "General.htm" for any other.
const char* helpTopic(int context);

// The command line that shows a topic: hh.exe "<folder>KZO.chm::/<topic>".
std::string htmlHelpCommand(const std::string& programFolder, int context);

// Opens the help; with HTML Help false when hh.exe cannot be started (the
// caller says so), with Windows Help false when WinHelp refuses.
bool openHelp(HWND owner, const std::string& programFolder, int helpType, int context);

}  // namespace kzo
