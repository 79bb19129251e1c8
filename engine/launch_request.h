// What the time-control loop hands to a launch thread for one due task.
#pragma once

#include <string>

#include "launch_time.h"
#include "task_record.h"

namespace kzo {

// The request carries its own copy of the record, made by the loop when it
// stamps the task: a launch thread never reaches into the pass store, which the
// next reload may release.
struct LaunchRequest {
    TaskRecord task;
    bool warn = false;    // ask before launching
    bool repErr = false;  // report a failure to start
    LaunchTime time{};    // the pass's launch time, or the moment of a run-now
    // The run history the launch writes what became of it into; empty: none
    // (and a started program is not waited for).
    std::string history;
    bool runNow = false;  // the Terminal's Run rather than a pass
};

}  // namespace kzo
