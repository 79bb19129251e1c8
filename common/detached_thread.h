// Runs work on a thread of its own that nobody waits for (a message display,
// a run-now): CreateThread, as the runtimes the release is built with have no
// std::thread.
#pragma once

#include <functional>

namespace kzo {

// Starts the work on a new detached thread; false (and the work not run) when
// the thread cannot be created. An exception leaving the work ends only the
// work, never the process.
bool startDetachedThread(std::function<void()> work);

}  // namespace kzo
