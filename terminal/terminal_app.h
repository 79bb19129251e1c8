// The Terminal's start: the command line, the settings, one Terminal at a time,
// the user's schedule file, then the main frame and its message loop.
#pragma once

#include <windows.h>

#include <string>

namespace kzo {

// Whether the command line asks only for the About box: "/ABOUT" anywhere in
// it, in any case.
bool wantsAboutOnly(const std::string& commandLine);

// Runs the Terminal; returns the process exit code.
int runTerminal(HINSTANCE module, const char* commandLine);

}  // namespace kzo
