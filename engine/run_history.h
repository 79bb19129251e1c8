// The run history's file (its format: run_event.h) as the launches write it,
// and the launches of this program whose program still runs, so that a
// scheduler's stop can tell of them.
#pragma once

#include <cstdint>
#include <optional>
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

// How much of a history file a reader takes: the whole lines within this many
// bytes of its end. A history within its bound is read whole; one that grew
// on and on (its ".1" copy could not be replaced) costs a reader no more.
constexpr std::uint64_t kHistoryReadBytes = 16 * kHistoryLimitBytes;

// The text of a history file (at most its last kHistoryReadBytes, from a whole
// line on), read with shared read and the retries; with rotated, the ".1"
// copy's text comes first. Empty for a missing file. False when a file that
// exists could not be read (busy through the retries): the text then holds
// what could be read.
bool readHistoryText(const std::string& file, bool withRotated, std::string& text);

// Every readable event of the history of the schedule file (its ".1" copy's
// first, oldest first), as readHistoryText reads them; false as there.
bool readRunHistory(const std::string& scheduleFile, std::vector<RunEvent>& events);

// The history of this program's launches. One per program (runHistory()),
// never destroyed: launch threads may outlive everything else.
class RunHistory {
public:
    RunHistory() = default;
    RunHistory(const RunHistory&) = delete;
    RunHistory& operator=(const RunHistory&) = delete;

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

    // Appends the event's line to file (nothing when file is empty; failures
    // are ignored) and, in the same turn, lets `running` tell of the launch:
    // registered while the line says its program runs, let go otherwise. So a
    // stop's "running at stop" lines never fall between a launch's line and
    // its registration: every launch whose "started" line is written is told
    // of, and none whose end is written.
    void write(const std::string& file, const RunEvent& event, std::optional<Running>& running);

    // Writes "running at stop" with the time now for every launch whose
    // program still runs, and returns how many; never waits for them. A
    // launch that sees its program end later (while this program lives on)
    // still writes that end.
    std::size_t recordStillRunning(const LaunchTime& now);

private:
    // Taken before listSection_ where both are held.
    // Within the program the writers take turns rather than meet in the
    // exclusive open's retries; a line and the change of registration that
    // goes with it are one turn.
    CriticalSection writeSection_;
    CriticalSection listSection_;
    std::vector<Running*> running_;
};

RunHistory& runHistory();

}  // namespace kzo
