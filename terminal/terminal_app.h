// The Terminal's start: the command line, the settings, one Terminal at a time,
// the user's schedule file, then the main frame and its message loop.
#pragma once

#include <windows.h>

#include <string>

namespace kzo {

class CMainFrame;

// Whether the command line asks only for the About box: "/ABOUT" anywhere in
// it, in any case.
bool wantsAboutOnly(const std::string& commandLine);

// Adds every feature's commands to the frame: task editing, the scheduler
// commands and the Options (the frame's registration of its features).
void registerTerminalFeatures(CMainFrame& frame);

// Runs the Terminal; returns the process exit code.
int runTerminal(HINSTANCE module, const char* commandLine);

}  // namespace kzo
