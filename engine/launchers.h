// The application and document launchers: used by the launch threads and by
// every program that starts another program (the Terminal's run-now, help and
// log viewer; the Executor's start of the Terminal).
#pragma once

#include <cstdint>

namespace kzo {

// The startup folder of a fallback command: the caller's current directory.
constexpr const char* kCurrentFolder = ".\\";

// Starts commandLine (CreateProcessA; the program path comes from the command
// line, so a path with blanks must be quoted) in folder (empty: the caller's
// current directory), minimized or normal. When it cannot start and onError is
// not empty, starts onError instead in ".\\" with no kill or quit time. Once a
// process runs, blocks the calling thread for its close request and
// termination (see planKillQuit). Returns 0 or the Windows error code of the
// last start that failed.
std::uint32_t launchApplication(const char* commandLine, const char* folder, const char* onError,
                                std::int32_t killAfter, std::int32_t quitAfter, bool minimized);

// Opens a document with a shell verb ("verb|document", ShellExecuteExA), with
// the same fallback. Only the kill time applies: a document's program gets no
// close request.
std::uint32_t launchDocument(const char* documentText, const char* folder, const char* onError,
                             std::int32_t killAfter, std::int32_t quitAfter, bool minimized);

}  // namespace kzo
