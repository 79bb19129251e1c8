// The run history's file (its format: run_event.h) as the launches write it,
// and the launches of this program whose program still runs, so that a
// scheduler's stop can tell of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "critical_section.h"
#include "run_event.h"

namespace kzo {

// Appends whole lines (each ending in "\r\n") to the history file in one
// write, under the schedule file's exclusive open with its retries, so that
// the lines of two writers never mix. When the file would grow past
// kHistoryLimitBytes, its lines first move to the ".1" copy, replacing an
// older one, and the file begins anew; both happen under the one exclusive
// open, so two writers can never move the lines twice. Returns 0 or the
// Windows error (the caller goes on either way: a missing or unwritable
// history never stops a launch).
std::uint32_t appendHistory(const std::string& file, const std::string& lines);

// The text of a history file, read with shared read and the retries; empty
// when the file is missing. With rotated, the ".1" copy's text comes first.
std::string readHistoryText(const std::string& file, bool withRotated = false);

// The history of this program's launches. One per program (runHistory()),
// never destroyed: launch threads may outlive everything else.
class RunHistory {
public:
    RunHistory() = default;
    RunHistory(const RunHistory&) = delete;
    RunHistory& operator=(const RunHistory&) = delete;

    // Appends the event's line to file; nothing when file is empty. Failures
    // are ignored.
    void write(const std::string& file, const RunEvent& event);

    // A launch whose program runs, from its "started" line to the line of its
    // end: registered for as long as the object lives.
    class Running {
    public:
        Running(RunHistory& history, std::string file, RunEvent started);
        ~Running();
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        friend class RunHistory;
        RunHistory& history_;
        std::string file_;
        RunEvent started_;
    };

    // Writes "running at stop" with the time now for every launch whose
    // program still runs, and returns how many; never waits for them. A
    // launch that sees its program end later (while this program lives on)
    // still writes that end.
    std::size_t recordStillRunning(const LaunchTime& now);

private:
    CriticalSection listSection_;
    std::vector<Running*> running_;
    // Within the program the writers take turns rather than meet in the
    // exclusive open's retries.
    CriticalSection writeSection_;
};

RunHistory& runHistory();

}  // namespace kzo
