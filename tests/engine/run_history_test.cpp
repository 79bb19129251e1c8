// What a launch writes into the run history, through the launch seam with
// programs played from a script; the history file's bound and its writers
// meeting; the launches still running when a scheduler stops.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "launch_thread.h"
#include "process_control.h"
#include "recording_actions.h"
#include "run_history.h"
#include "system_error.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

using test::RecordingActions;
using test::TempDir;
using Lines = std::vector<std::string>;

// A program as the script plays it.
struct Script {
    std::uint32_t startError = 0;   // the start fails with this error
    std::int64_t endsAfterMs = -1;  // ends by itself after so long; -1 never
    std::uint32_t exitCode = 0;
    bool closes = false;            // ends at a close request, with exitCode
    bool reported = true;           // Windows reports a document's process
    bool gated = false;             // ends with exitCode when the gate opens
};

// Programs and documents played from scripts on a clock of their own: a wait
// for a program that ends within it moves the clock to the end, any other
// wait moves it by the whole wait. Commands without a script are not found.
class ScriptedProcesses : public ProcessControl {
public:
    ScriptedProcesses() : gate_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

    std::map<std::string, Script> scripts;  // by command line, or document file

    void openGate() { SetEvent(gate_.get()); }
    Lines calls() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }

    std::uint32_t startProgram(const char* commandLine, const char*, bool, ProcessRef& process) override {
        return start(commandLine, process);
    }
    std::uint32_t openDocument(const DocumentStart& document, bool, ProcessRef& process) override {
        std::uint32_t error = start(document.file, process);
        if (error == 0 && !running(process).script.reported) process = ProcessRef();
        return error;
    }
    bool waitForEnd(const ProcessRef& process, std::uint32_t ms) override {
        std::unique_lock<std::mutex> lock(mutex_);
        Running& p = running(process);
        if (p.endedAt < 0 && p.script.gated && ms == kWaitForever) {
            lock.unlock();
            WaitForSingleObject(gate_.get(), INFINITE);
            lock.lock();
            end(p, p.script.exitCode);
        }
        if (p.endedAt < 0 && ms == kWaitForever) {
            ADD_FAILURE() << "waiting forever for a program that never ends";
            return true;
        }
        if (p.endedAt >= 0 && p.endedAt <= tick_ + static_cast<std::int64_t>(ms)) {
            tick_ = std::max(tick_, p.endedAt);
            return true;
        }
        tick_ += ms;
        return false;
    }
    std::uint32_t exitCode(const ProcessRef& process) override {
        std::lock_guard<std::mutex> lock(mutex_);
        return running(process).code;
    }
    void requestClose(const ProcessRef& process) override {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back("close");
        Running& p = running(process);
        if (p.script.closes && p.endedAt < 0) end(p, p.script.exitCode);
    }
    void terminate(const ProcessRef& process) override {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back("terminate");
        Running& p = running(process);
        if (p.endedAt < 0) end(p, 0);
    }
    void release(ProcessRef& process) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (process.handle) calls_.push_back("release");
        process = ProcessRef();
    }
    // Waits until count processes were let go: their launch threads are done
    // with this object.
    bool waitForReleases(std::size_t count) {
        return test::waitUntil([&] {
            Lines all = calls();
            return static_cast<std::size_t>(std::count(all.begin(), all.end(), "release")) >= count;
        });
    }
    std::uint32_t tickMs() override {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<std::uint32_t>(tick_);
    }
    LaunchTime localTime() override { return launchTimeAt(2026, 12, 8, 14, 5, 7); }

private:
    struct Running {
        Script script;
        std::int64_t endedAt = -1;
        std::uint32_t code = 0;
    };

    std::uint32_t start(const std::string& command, ProcessRef& process) {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back("start " + command);
        auto found = scripts.find(command);
        if (found == scripts.end()) return ERROR_FILE_NOT_FOUND;
        if (found->second.startError) return found->second.startError;
        Running& p = processes_.emplace_back();
        p.script = found->second;
        if (p.script.endsAfterMs >= 0) {
            p.endedAt = tick_ + p.script.endsAfterMs;
            p.code = p.script.exitCode;
        }
        process.handle = &p;
        process.id = static_cast<std::uint32_t>(1000 + processes_.size());
        return 0;
    }
    Running& running(const ProcessRef& process) { return *static_cast<Running*>(process.handle); }
    void end(Running& p, std::uint32_t code) {
        p.endedAt = tick_;
        p.code = code;
    }

    mutable std::mutex mutex_;
    UniqueHandle gate_;
    std::int64_t tick_ = 5000000;
    std::list<Running> processes_;
    Lines calls_;
};

// The history's lines in short: the result word, then the code and the
// seconds when the line has them. An error's code is checked for its text.
Lines shortLines(const std::string& history) {
    Lines lines;
    for (const RunEvent& e : parseHistory(test::readFile(history))) {
        std::string line = outcomeWord(e.outcome);
        if (e.hasCode) line += " " + std::to_string(e.code);
        if (e.durationMs >= 0) line += " after " + std::to_string(e.durationMs) + " ms";
        bool error = e.outcome == RunOutcome::NotStarted || e.outcome == RunOutcome::FallbackStarted ||
                     e.outcome == RunOutcome::FallbackFailed || e.outcome == RunOutcome::NotOpened ||
                     e.outcome == RunOutcome::NotSent || e.outcome == RunOutcome::ShutdownRefused;
        EXPECT_EQ(error ? systemErrorText(e.code) : std::string(), e.text) << line;
        lines.push_back(line);
    }
    return lines;
}

LaunchRequest request(const std::string& name, int8_t type, const std::string& command,
                      const std::string& history) {
    LaunchRequest r;
    r.task = test::record(name);
    r.task.type = type;
    setField(r.task.command, command);
    r.time = launchTimeAt(2026, 12, 8, 14, 5, 1);
    r.history = history;
    return r;
}

TEST(LaunchOutcomes, EachLaunchWritesWhatBecameOfIt) {
    struct Case {
        const char* what;
        int8_t type;
        const char* command;
        const char* onError;
        int kill, quit;
        const char* targets;  // Message and Shut down tasks
        Lines expected;
        Lines calls;  // close requests and terminations
    } cases[] = {
        {"exit 0", kTypeApplication, "ok.exe", "", 0, 0, "", {"started", "exit 0 after 2000 ms"}, {}},
        {"exit 3", kTypeApplication, "three.exe", "", 0, 0, "", {"started", "exit 3 after 2500 ms"}, {}},
        {"a program that is not there", kTypeApplication, "missing.exe", "", 0, 0, "", {"not started 2"}, {}},
        {"its fallback starts", kTypeApplication, "missing.exe", "ok.exe", 0, 0, "",
         {"fallback started 2", "exit 0 after 2000 ms"}, {}},
        {"its fallback fails as well", kTypeApplication, "missing.exe", "denied.exe", 0, 0, "",
         {"fallback failed 5"}, {}},
        {"closed at the Quit time", kTypeApplication, "closes.exe", "", 0, 5, "",
         {"started", "closed 4 after 5000 ms"}, {"close"}},
        {"ended before its Quit time", kTypeApplication, "three.exe", "", 0, 5, "",
         {"started", "exit 3 after 2500 ms"}, {}},
        {"killed at the Kill time", kTypeApplication, "stays.exe", "", 10, 0, "",
         {"started", "killed after 10000 ms"}, {"terminate"}},
        {"asked to close, then killed", kTypeApplication, "stays.exe", "", 10, 5, "",
         {"started", "killed after 10000 ms"}, {"close", "terminate"}},
        {"closed by the Quit time, before the Kill time", kTypeApplication, "closes.exe", "", 10, 5, "",
         {"started", "closed 4 after 5000 ms"}, {"close"}},
        {"a document without a process", kTypeDocument, "C:\\Docs\\page.htm", "", 0, 0, "", {"opened"}, {}},
        {"a document's program", kTypeDocument, "print|C:\\Docs\\ok.txt", "", 0, 0, "",
         {"started", "exit 0 after 2000 ms"}, {}},
        {"a document that is not there", kTypeDocument, "C:\\Docs\\none.txt", "", 0, 0, "", {"not opened 2"}, {}},
        {"a message shown", kTypeMessage, "Hello", "", 0, 0, "", {"shown"}, {}},
        {"a message sent", kTypeMessage, "Hello", "", 0, 0, "PC1, .", {"sent"}, {}},
        {"a shutdown requested", kTypeShutdown, "REBOOT", "", 0, 0, "", {"shutdown requested"}, {}},
        {"a shutdown refused", kTypeShutdown, "REBOOT", "", 0, 0, "PC2,PC3", {"shutdown refused 5"}, {}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        ScriptedProcesses processes;
        processes.scripts["ok.exe"] = Script{0, 2000, 0};
        processes.scripts["three.exe"] = Script{0, 2500, 3};
        processes.scripts["denied.exe"] = Script{ERROR_ACCESS_DENIED};
        processes.scripts["closes.exe"] = Script{0, -1, 4, true};
        processes.scripts["stays.exe"] = Script{};
        processes.scripts["C:\\Docs\\page.htm"] = Script{0, -1, 0, false, false};
        processes.scripts["C:\\Docs\\ok.txt"] = Script{0, 2000, 0};
        RecordingActions actions;
        actions.processControl = &processes;
        actions.initiateShutdownResult = false;
        std::string history = dir.file("user.jsf.history");
        LaunchRequest r = request("Job", c.type, c.command, history);
        setField(r.task.onError, c.onError);
        setField(r.task.folder, c.targets);
        r.task.killAfter = c.kill;
        r.task.quitAfter = c.quit;
        EXPECT_EQ(0, runLaunch(r, actions)) << c.what;
        EXPECT_EQ(c.expected, shortLines(history)) << c.what;
        Lines calls;
        for (const std::string& call : processes.calls())
            if (call.rfind("start ", 0) != 0 && call != "release") calls.push_back(call);
        EXPECT_EQ(c.calls, calls) << c.what;
    }
}

TEST(LaunchOutcomes, MessagesAndShutdownsTellTheirFirstFailure) {
    TempDir dir;
    RecordingActions actions;
    actions.netApiPresent = false;
    actions.refusedPrivileges = {"SeShutdownPrivilege"};
    std::string history = dir.file("h");
    LaunchRequest message = request("Job", kTypeMessage, "Hello", history);
    setField(message.task.folder, "PC1");
    runLaunch(message, actions);
    runLaunch(request("Job", kTypeShutdown, "SHUTDOWN", history), actions);
    EXPECT_EQ((Lines{"not sent 126", "shutdown refused 1314"}), shortLines(history));
}

TEST(LaunchOutcomes, ALineNamesTheTaskItsPassItsStartAndItsKind) {
    TempDir dir;
    ScriptedProcesses processes;
    processes.scripts["three.exe"] = Script{0, 2500, 3};
    RecordingActions actions;
    actions.processControl = &processes;
    std::string history = dir.file("h");
    LaunchRequest r = request("  Nightly backup ", kTypeApplication, "three.exe", history);
    runLaunch(r, actions);
    r.runNow = true;
    r.task.type = kTypeDocument;
    setField(r.task.command, "none.txt");
    runLaunch(r, actions);
    EXPECT_EQ(
        "2026-12-08 14:05:07\tNightly backup\t2026-12-08 14:05\t2026-12-08 14:05:07\tapplication\tstarted\t\t\t\r\n"
        "2026-12-08 14:05:07\tNightly backup\t2026-12-08 14:05\t2026-12-08 14:05:07\tapplication\texit\t3\t2.500\t\r\n"
        "2026-12-08 14:05:07\tNightly backup\trun now\t2026-12-08 14:05:07\tdocument\tnot opened\t2\t\t" +
            systemErrorText(2) + "\r\n",
        test::readFile(history));
}

TEST(LaunchOutcomes, ADeclinedLaunchIsWrittenAndStartsNothing) {
    TempDir dir;
    ScriptedProcesses processes;
    RecordingActions actions;
    actions.processControl = &processes;
    actions.confirmAnswer = false;
    LaunchRequest r = request("Job", kTypeApplication, "ok.exe", dir.file("h"));
    r.warn = true;
    EXPECT_EQ(-1, runLaunch(r, actions));
    EXPECT_EQ(Lines{"declined"}, shortLines(dir.file("h")));
    EXPECT_TRUE(processes.calls().empty());
}

TEST(LaunchOutcomes, WithoutAHistoryNothingIsWrittenAndNoProgramIsFollowed) {
    TempDir dir;
    ScriptedProcesses processes;
    processes.scripts["stays.exe"] = Script{};  // followed, it would be waited for forever
    RecordingActions actions;
    actions.processControl = &processes;
    EXPECT_EQ(0, runLaunch(request("Job", kTypeApplication, "stays.exe", ""), actions));
    EXPECT_EQ((Lines{"start stays.exe", "release"}), processes.calls());

    // A history that cannot be written stops nothing either.
    LaunchRequest r = request("Job", kTypeApplication, "missing.exe", dir.file("no\\such\\folder\\h"));
    r.repErr = true;
    EXPECT_EQ(0, runLaunch(r, actions));
    EXPECT_EQ((Lines{"beep", "launchError Job: missing.exe 2"}), actions.events());
}

// --- Launch threads ending at once, and a scheduler's stop ---------------------

std::size_t lineCount(const std::string& history) { return parseHistory(test::readFile(history)).size(); }

TEST(LaunchThreads, TwoEndingAtOnceWriteTwoWholeLines) {
    TempDir dir;
    ScriptedProcesses processes;
    processes.scripts["a.exe"] = Script{0, -1, 1, false, true, true};
    processes.scripts["b.exe"] = Script{0, -1, 2, false, true, true};
    RecordingActions actions;
    actions.processControl = &processes;
    std::string history = dir.file("h");
    // Long names, so that a torn line would show.
    std::string a(64, 'a'), b(64, 'b');
    ASSERT_TRUE(startLaunchThread(request(a, kTypeApplication, "a.exe", history), actions));
    ASSERT_TRUE(startLaunchThread(request(b, kTypeApplication, "b.exe", history), actions));
    ASSERT_TRUE(test::waitUntil([&] { return lineCount(history) == 2; })) << test::readFile(history);
    processes.openGate();
    ASSERT_TRUE(test::waitUntil([&] { return lineCount(history) == 4; })) << test::readFile(history);
    std::string text = test::readFile(history);
    EXPECT_EQ(4, std::count(text.begin(), text.end(), '\n')) << text;
    std::map<std::string, RunEvent> last = lastResultByTask(parseHistory(text));
    EXPECT_EQ("exit 1", resultText(last[a]));
    EXPECT_EQ("exit 2", resultText(last[b]));
    EXPECT_TRUE(processes.waitForReleases(2));
}

TEST(LaunchThreads, ProgramsStillRunningAtStopAreWrittenSoAndLetGo) {
    TempDir dir;
    ScriptedProcesses processes;
    processes.scripts["long.exe"] = Script{0, -1, 0, false, true, true};
    RecordingActions actions;
    actions.processControl = &processes;
    std::string history = dir.file("h");
    ASSERT_TRUE(startLaunchThread(request("Long", kTypeApplication, "long.exe", history), actions));
    ASSERT_TRUE(test::waitUntil([&] { return lineCount(history) == 1; }));

    EXPECT_EQ(1u, runHistory().recordStillRunning(launchTimeAt(2026, 12, 8, 14, 9, 0)));
    EXPECT_EQ((Lines{"started", "running at stop"}), shortLines(history));
    EXPECT_EQ("still running at stop", resultText(*lastEventOf(parseHistory(test::readFile(history)), "Long")));

    // The program ending while this program lives on is written as well.
    processes.openGate();
    ASSERT_TRUE(test::waitUntil([&] { return lineCount(history) == 3; }));
    EXPECT_EQ("0", resultText(*lastEventOf(parseHistory(test::readFile(history)), "Long")));
    EXPECT_TRUE(processes.waitForReleases(1));
    EXPECT_EQ(0u, runHistory().recordStillRunning(launchTimeAt(2026, 12, 8, 14, 10, 0)));
}

// --- The file ----------------------------------------------------------------------

std::string lineOf(const std::string& task, std::size_t textLength) {
    RunEvent e;
    e.time = e.pass = e.started = launchTimeAt(2026, 12, 8, 14, 5, 0);
    e.task = task;
    e.outcome = RunOutcome::NotSent;
    e.text = std::string(textLength, 'x');
    return formatHistoryLine(e);
}

// Whole lines of the given length in bytes.
std::string linesOf(const std::string& task, std::size_t bytes) {
    std::string one = lineOf(task, 0);
    std::string text;
    while (text.size() + 2 * one.size() <= bytes) text += one;
    return text + lineOf(task, bytes - text.size() - one.size());
}

TEST(HistoryFile, PastItsBoundItsLinesMoveToTheOlderCopy) {
    TempDir dir;
    std::string history = dir.file("user.jsf.history");
    std::string older = history + ".1";
    std::string line = lineOf("New", 50);

    std::string full = linesOf("Old", kHistoryLimitBytes - line.size());
    test::writeFile(history, full);
    ASSERT_EQ(0u, appendHistory(history, line));
    EXPECT_EQ(full + line, test::readFile(history)) << "exactly at the bound: kept";
    EXPECT_FALSE(test::fileExists(older));

    ASSERT_EQ(0u, appendHistory(history, line));
    EXPECT_EQ(full + line, test::readFile(older)) << "past it: moved";
    EXPECT_EQ(line, test::readFile(history));

    std::string second = linesOf("Second", kHistoryLimitBytes - 10);
    test::writeFile(history, second);
    ASSERT_EQ(0u, appendHistory(history, line));
    EXPECT_EQ(second, test::readFile(older)) << "the older copy replaced";
    EXPECT_EQ(line, test::readFile(history));
    std::string text;
    EXPECT_TRUE(readHistoryText(history, true, text));
    EXPECT_EQ(second + line, text);

    EXPECT_TRUE(readHistoryText(dir.file("none.history"), true, text));
    EXPECT_EQ("", text);
    EXPECT_FALSE(test::fileExists(dir.file("none.history"))) << "a reader creates nothing";
}

TEST(HistoryFile, AReaderTakesTheNewestWholeLinesOfAnOvergrownFile) {
    // A history whose older copy could not be replaced grows past its bound.
    TempDir dir;
    std::string history = dir.file("h");
    std::string newest = lineOf("Newest", 10);
    test::writeFile(history, linesOf("Old", 3 * kHistoryReadBytes + 7) + newest);
    std::string text;
    ASSERT_TRUE(readHistoryText(history, false, text));
    EXPECT_LE(text.size(), kHistoryReadBytes);
    EXPECT_GT(text.size(), kHistoryReadBytes - 2 * newest.size());
    std::vector<RunEvent> events = parseHistory(text);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<std::ptrdiff_t>(events.size()))
        << "whole lines only";
    ASSERT_FALSE(events.empty());
    EXPECT_EQ("Newest", events.back().task);

    // Held by a writer through all the retries: said so, not taken for empty.
    UniqueHandle held(CreateFileA(history.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(readHistoryText(history, false, text));
}

TEST(HistoryFile, AnUnfinishedLineDoesNotTakeTheNextWithIt) {
    // A write that a full disk cut short left half a line.
    TempDir dir;
    std::string history = dir.file("h");
    std::string line = lineOf("New", 10);
    std::string half = lineOf("Old", 10).substr(0, 30);
    test::writeFile(history, half);
    ASSERT_EQ(0u, appendHistory(history, line));
    EXPECT_EQ(half + "\r\n" + line, test::readFile(history));
    std::vector<RunEvent> events = parseHistory(test::readFile(history));
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ("New", events[0].task);
}

TEST(HistoryFile, WritersOfTwoProgramsNeverMixTheirLines) {
    // Two writers that share no lock but the file's exclusive open, as two
    // programs would, each appending one long line at the same moment, a few
    // times over (all within the bound).
    TempDir dir;
    std::string history = dir.file("h");
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        UniqueHandle go(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        auto writer = [&](const std::string& task) {
            WaitForSingleObject(go.get(), INFINITE);
            EXPECT_EQ(0u, appendHistory(history, lineOf(task, 20000)));
        };
        std::thread first(writer, "First"), second(writer, "Second");
        Sleep(20);
        SetEvent(go.get());
        first.join();
        second.join();
    }
    std::string text = test::readFile(history);
    std::vector<RunEvent> events = parseHistory(text);
    ASSERT_EQ(2u * kRounds, events.size());
    EXPECT_EQ(text.size(), events.size() * lineOf("First", 20000).size() + kRounds * 1)
        << "every line whole";
}

}  // namespace
}  // namespace kzo
