// What became of a launch, as the lines of a scheduler's run history: the
// format of the history file, its parser, and the readings taken from it (a
// task's last result, the runs with their newest line). Pure.
//
// The history file lies beside the schedule file and is named after it with
// ".history" added ("User.jsf" keeps "User.jsf.history"). Each scheduler
// writes its own schedule's history, and the Terminal's Run writes into the
// history of the schedule shown. Past 256 KB the file's lines move to a copy
// named with ".1" added (replacing an older copy) and the file begins anew.
//
// Plain text in the system code page, one line per event, newest last, each
// ending in a carriage return and a line feed. A line holds nine fields
// separated by tabs:
//
//   1 time     when the event happened, local time "YYYY-MM-DD HH:MM:SS"
//   2 task     the task's name (without blanks at either end)
//   3 pass     the minute of the pass that launched it, "YYYY-MM-DD HH:MM",
//              or "run now" for the Terminal's Run
//   4 started  when the launch began, "YYYY-MM-DD HH:MM:SS"
//   5 kind     "application", "document", "message" or "shutdown"
//   6 result   one of the words of RunOutcome below
//   7 code     the exit code, or the Windows error code, in decimal; empty
//              when there is none
//   8 seconds  how long the program ran, "S.mmm"; empty when not known
//   9 text     the system's text for the error code; empty when none
//
// A launch writes one line, or two when it follows a program: "started" (or
// "fallback started") when the program runs, then the line of its end, both
// with the same task, pass and started fields.
//
// Escapes: in the task and text fields every byte below 32, the byte 127 and
// "%" itself are written as "%" and two upper-case hexadecimal digits ("%09"
// a tab, "%0D%0A" a line break, "%25" a percent sign); every other byte,
// characters of the code page included, stands as it is. (The second byte of
// a double-byte character is never a control byte, 127 or "%", so the escapes
// never split a character.)
//
// A reader skips what it cannot read: lines with fewer than nine fields, an
// unknown kind or result, a malformed time, and a last line without its line
// break (being written, or cut short). Fields after the ninth are ignored, for
// later additions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "launch_time.h"

namespace kzo {

// The bound of a history file, in bytes.
constexpr std::uint64_t kHistoryLimitBytes = 256 * 1024;

// "<schedule file>.history" and its older copy "<schedule file>.history.1".
std::string historyFileOf(std::string_view scheduleFile);
std::string rotatedHistoryFileOf(std::string_view historyFile);

enum class RunKind { Application, Document, Message, Shutdown };

// The result of a line, with the word the file holds.
enum class RunOutcome {
    Started,            // "started": the program runs; the line of its end follows
    FallbackStarted,    // "fallback started": the command could not start (code and text
                        // say why); its Execute on error command runs, and its end follows
    Exited,             // "exit": ended by itself; code is its exit code
    Closed,             // "closed": ended after the close request of the Quit time
    Killed,             // "killed": terminated at the Kill time
    RunningAtStop,      // "running at stop": still running when its scheduler stopped
    NotStarted,         // "not started": the program could not start (code, text)
    FallbackFailed,     // "fallback failed": neither the command nor its Execute on
                        // error command started (the fallback's code and text)
    Opened,             // "opened": a document opened without a process to follow
    NotOpened,          // "not opened": the document could not be opened (code, text)
    Shown,              // "shown": a message shown on this computer
    Sent,               // "sent": a message sent to its targets
    NotSent,            // "not sent": a send failed (code and text of the first failure)
    ShutdownRequested,  // "shutdown requested"
    ShutdownRefused,    // "shutdown refused": the system refused it (code, text)
    Declined,           // "declined": answered No at the Warn prompt
};

// One line of the history.
struct RunEvent {
    LaunchTime time{};     // when the event happened
    std::string task;
    bool runNow = false;   // the Terminal's Run; otherwise pass holds the pass's minute
    LaunchTime pass{};
    LaunchTime started{};  // when the launch began
    RunKind kind = RunKind::Application;
    RunOutcome outcome = RunOutcome::Started;
    bool hasCode = false;
    std::uint32_t code = 0;
    std::int64_t durationMs = -1;  // -1: not known
    std::string text;
};

// The line of an event, ending in "\r\n".
std::string formatHistoryLine(const RunEvent& event);

// One line without its line break; false when it cannot be read.
bool parseHistoryLine(std::string_view line, RunEvent& event);

// Every readable line of a history file's text, in file order (oldest first).
std::vector<RunEvent> parseHistory(std::string_view text);

// The newest event of the task (names compared without blanks at either end,
// case-sensitive), or nullptr.
const RunEvent* lastEventOf(const std::vector<RunEvent>& events, std::string_view task);

// Each task's last result, by name: the newest line of its launch that began
// last (launches of one task may overlap: an older one's end does not hide a
// newer one).
std::map<std::string, RunEvent> lastResultByTask(const std::vector<RunEvent>& events);

// Whether two lines tell of one launch: the same task, pass (or run now) and
// start.
bool sameLaunch(const RunEvent& a, const RunEvent& b);

// One launch: the events of the same task, pass and start, told by the newest
// of them (a "started" line with no end yet: the program still runs).
struct RunOfTask {
    std::size_t firstEvent = 0;  // index of its first line
    RunEvent last;               // its newest line
};

// The launches in the order they began (their first lines).
std::vector<RunOfTask> runsOf(const std::vector<RunEvent>& events);

// Whether a program of the launch still runs by this event: "started" and
// "fallback started" (its end not written yet).
bool isRunning(const RunEvent& event);

// Whether the event tells of a failure: not started, fallback failed, not
// opened, not sent, shutdown refused, or an exit code other than 0.
bool isFailure(const RunEvent& event);

// The result in a few words, as a list shows it: "0" for an exit code of 0,
// "exit 3", "not started: <text>", "running", "declined", "closed",
// "killed", "still running at stop", "opened", "shown", ...
std::string resultText(const RunEvent& event);

// The word a line holds for the result and the kind.
const char* outcomeWord(RunOutcome outcome);
const char* kindWord(RunKind kind);

}  // namespace kzo
