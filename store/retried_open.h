// The schedule file's way of opening a file that another program may hold:
// writers exclusively, readers with shared read, both with retries. The
// schedule store and the run history (beside the schedule file) open through
// it, so that a writer never meets half of another writer's work.
#pragma once

#include <windows.h>

namespace kzo {

// Opens path, creating it when missing. For writing: read and write access, no
// sharing; otherwise read access, shared read. Up to 8 attempts, the
// read-only, hidden and system attributes cleared before each, 1000 ms pauses
// after the 3rd and the 6th failure, so an open that meets another program's
// exclusive open is retried for about two seconds. Returns 0 with file set, or
// the error code of the last attempt (file INVALID_HANDLE_VALUE).
int openRetried(const char* path, bool forWriting, HANDLE& file);

}  // namespace kzo
