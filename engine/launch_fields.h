// The three text fields of a launch, made ready in the launch thread's private
// copy of the record: first the command macros, then the environment.
#pragma once

#include "expand_env.h"
#include "launch_time.h"
#include "task_record.h"

namespace kzo {

// Environment-expanded fields of one launch, each at most 2599 characters.
struct LaunchFields {
    char command[kExpandedSize];  // Application and Document tasks (and unknown types)
    char folder[kExpandedSize];   // the startup folder of Application and Document tasks
    char onError[kExpandedSize];  // the fallback command
};

// Expands the macros of the command, the folder and the on-error command of
// the copy, in that order. Each field is first cut to its width when a
// hand-edited file left it without its terminating zero.
void expandRecordMacros(TaskRecord& copy, const LaunchTime& time);

// Fills fields from a copy whose macros are already expanded. The command is
// environment-expanded only for types other than Message and Shut down; for
// those it is the field as it stands (a message text is sent as written). The
// folder and the on-error command are always expanded; Message and Shut down
// tasks read their computer list from the record's folder field, not from here.
void expandLaunchFields(const TaskRecord& copy, LaunchFields& fields);

}  // namespace kzo
