// When the run history of the schedule shown has changed: a stamp of the
// history file beside the schedule file and of its older ".1" copy (their
// events: readRunHistory).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "run_event.h"

namespace kzo {

// The size and the last write time of the history and its ".1" copy (zero
// for a file that is missing): a stamp that differs means lines were added
// or moved to the copy.
struct HistoryStamp {
    std::uint64_t size[2] = {};
    std::uint64_t written[2] = {};

    bool operator==(const HistoryStamp& other) const;
    bool operator!=(const HistoryStamp& other) const { return !(*this == other); }
};

HistoryStamp historyStampOf(const std::string& scheduleFile);

}  // namespace kzo
