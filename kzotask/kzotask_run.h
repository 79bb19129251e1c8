// kzotask's Win32 side: which schedule file a command works on, its reading
// and its change under the schedule file's exclusive open, the schedulers'
// update events, and Run. main.cpp only hands over the arguments and prints.
#pragma once

#include <string>
#include <vector>

#include "terminal_settings_registry.h"

namespace kzo {

// Where the tool writes what it says: the normal output and the errors.
class ToolOutput {
public:
    virtual ~ToolOutput() = default;
    virtual void out(const std::string& text) = 0;
    virtual void err(const std::string& text) = 0;
};

struct KzoTaskEnvironment {
    SettingsKeys keys;          // the settings the schedules and AutoQuote are read from
    std::string programFolder;  // with its backslash: a User Schedule without "DAT" lies there
};

// Runs one command line (the arguments after the program name) and returns
// the exit code (KzoTaskExit). A change is made on the records as the file
// holds them, read and written under one exclusive open of the schedule file
// (with the store's retries), so that every stamp a scheduler wrote is in what
// is written; then the update event of each scheduler that runs this file is
// set. Nothing is written when the change is refused or anything fails before
// the write.
int runKzoTask(const std::vector<std::string>& arguments, ToolOutput& output,
               const KzoTaskEnvironment& environment);

}  // namespace kzo
