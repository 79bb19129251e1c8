// The run history's lines: their layout byte for byte, the round trip of
// awkward names and texts through the writer and the parser, what a reader
// skips, and the readings the Terminal takes (last result, runs, result text).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "run_event.h"

namespace kzo {
namespace {

RunEvent event(const std::string& task, RunOutcome outcome) {
    RunEvent e;
    e.time = launchTimeAt(2026, 12, 8, 14, 5, 9);
    e.task = task;
    e.pass = launchTimeAt(2026, 12, 8, 14, 5, 1);
    e.started = launchTimeAt(2026, 12, 8, 14, 5, 2);
    e.outcome = outcome;
    return e;
}

RunEvent withCode(RunEvent e, std::uint32_t code, const std::string& text = "") {
    e.hasCode = true;
    e.code = code;
    e.text = text;
    return e;
}

TEST(HistoryLine, HoldsNineTabSeparatedFieldsEndingInALineBreak) {
    RunEvent exited = withCode(event("Backup", RunOutcome::Exited), 3);
    exited.durationMs = 12345;
    EXPECT_EQ("2026-12-08 14:05:09\tBackup\t2026-12-08 14:05\t2026-12-08 14:05:02\tapplication\t"
              "exit\t3\t12.345\t\r\n",
              formatHistoryLine(exited));

    RunEvent missing = withCode(event("Backup", RunOutcome::NotStarted), 2,
                                "The system cannot find the file specified.");
    missing.runNow = true;
    missing.kind = RunKind::Document;
    EXPECT_EQ("2026-12-08 14:05:09\tBackup\trun now\t2026-12-08 14:05:02\tdocument\tnot started\t"
              "2\t\tThe system cannot find the file specified.\r\n",
              formatHistoryLine(missing));
}

TEST(HistoryLine, NamesAndTextsRoundTripThroughWriterAndParser) {
    const std::string sixtyFour(64, 'N');
    struct Case {
        const char* what;
        std::string task;
        std::string text;
    } cases[] = {
        {"tabs and line breaks", "Backup\tnightly\r\n", "first line\r\nsecond\tline"},
        {"64 characters, the most a record holds", sixtyFour, ""},
        {"percent signs, escaped or not", "100% %KZO.DAY% %25 %", "%0"},
        {"code-page characters (1252)", "Sauvegarde \xE9t\xE9 \xC4nderung \xFF", "\xA0\xB0"},
        // Shift-JIS: a second byte of 0x5C ('\\'), and of 0x7C ('|').
        {"double-byte characters", "\x95\x5C\x8E\xA6 \x83\x7C", "\x83\x5C"},
        {"control bytes and 127", std::string("a\x01\x1F\x7F" "b", 5), ""},
        {"blank only at the ends kept as given", " x ", " "},
    };
    for (const Case& c : cases) {
        RunEvent written = withCode(event(c.task, RunOutcome::NotSent), 2273, c.text);
        std::string line = formatHistoryLine(written);
        EXPECT_EQ(9u, 1 + std::count(line.begin(), line.end(), '\t')) << c.what << ": " << line;
        EXPECT_EQ(line.size() - 2, line.find('\r')) << c.what << ": no line break inside";
        std::vector<RunEvent> read = parseHistory(line);
        ASSERT_EQ(1u, read.size()) << c.what << ": " << line;
        EXPECT_EQ(c.task, read[0].task) << c.what;
        EXPECT_EQ(c.text, read[0].text) << c.what;
        EXPECT_EQ(2273u, read[0].code) << c.what;
    }
}

TEST(HistoryLine, EveryFieldRoundTrips) {
    std::vector<RunEvent> written;
    for (RunOutcome o : {RunOutcome::Started, RunOutcome::FallbackStarted, RunOutcome::Exited,
                         RunOutcome::Closed, RunOutcome::Killed, RunOutcome::RunningAtStop,
                         RunOutcome::NotStarted, RunOutcome::FallbackFailed, RunOutcome::Opened,
                         RunOutcome::NotOpened, RunOutcome::Shown, RunOutcome::Sent,
                         RunOutcome::NotSent, RunOutcome::ShutdownRequested,
                         RunOutcome::ShutdownRefused, RunOutcome::Declined}) {
        RunEvent e = event("T", o);
        e.kind = static_cast<RunKind>(written.size() % 4);
        e.runNow = written.size() % 3 == 0;
        if (!e.runNow) e.pass.second = 0;  // the pass is written to the minute
        if (written.size() % 2) e = withCode(e, 0xFFFFFFFF - static_cast<std::uint32_t>(written.size()));
        e.durationMs = written.size() % 5 == 0 ? -1 : static_cast<std::int64_t>(written.size()) * 1001;
        written.push_back(e);
    }
    std::string text;
    for (const RunEvent& e : written) text += formatHistoryLine(e);
    std::vector<RunEvent> read = parseHistory(text);
    ASSERT_EQ(written.size(), read.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(formatHistoryLine(written[i]), formatHistoryLine(read[i])) << "line " << i;
        EXPECT_EQ(written[i].outcome, read[i].outcome) << "line " << i;
        EXPECT_EQ(written[i].durationMs, read[i].durationMs) << "line " << i;
        EXPECT_EQ(written[i].started.weekday, read[i].started.weekday) << "line " << i;
    }
}

TEST(HistoryText, ReadersSkipWhatTheyCannotRead) {
    std::string good = formatHistoryLine(event("Good", RunOutcome::Declined));
    std::string unixGood = good.substr(0, good.size() - 2) + "\n";
    const char* bad[] = {
        "\r\n",
        "not a history line\r\n",
        "2026-12-08 14:05:09\tX\t2026-12-08 14:05\t2026-12-08 14:05:02\tapplication\texit\t3\t1.000\r\n",
        "2026-12-08 14:05:09\tX\t2026-12-08 14:05\t2026-12-08 14:05:02\tpicture\texit\t3\t1.000\t\r\n",
        "2026-12-08 14:05:09\tX\t2026-12-08 14:05\t2026-12-08 14:05:02\tapplication\texploded\t\t\t\r\n",
        "2026-13-08 14:05:09\tX\t2026-12-08 14:05\t2026-12-08 14:05:02\tapplication\texit\t3\t\t\r\n",
        "2026-12-08 14:05:09\tX\tlater\t2026-12-08 14:05:02\tapplication\texit\t3\t\t\r\n",
        "2026-12-08 14:05:09\tX\t2026-12-08 14:05\t2026-12-08 14:05:02\tapplication\texit\t-3\t\t\r\n",
        "2026-12-08 14:05:09\tX\t2026-12-08 14:05\t2026-12-08 14:05:02\tapplication\texit\t4294967296\t\t\r\n",
        "2026-12-08 14:05:09\tX\t2026-12-08 14:05\t2026-12-08 14:05:02\tapplication\texit\t3\t1.5\t\r\n",
    };
    std::string text = good;
    for (const char* line : bad) text += line;
    text += unixGood;
    // A later version's tenth field is passed over.
    text += good.substr(0, good.size() - 2) + "\textra\r\n";
    // The last line being written, its break not yet there.
    text += good.substr(0, good.size() - 2);
    std::vector<RunEvent> read = parseHistory(text);
    ASSERT_EQ(3u, read.size()) << text;
    for (const RunEvent& e : read) EXPECT_EQ("Good", e.task);
}

TEST(HistoryReadings, TheLastEventOfATaskIsItsResult) {
    std::vector<RunEvent> events = {
        event("Backup", RunOutcome::Started),
        event("Mail", RunOutcome::Declined),
        withCode(event("Backup", RunOutcome::Exited), 3),
        event("Backup", RunOutcome::Started),
    };
    const RunEvent* backup = lastEventOf(events, "  Backup ");
    ASSERT_NE(nullptr, backup) << "names compared without the blanks at either end";
    EXPECT_EQ(RunOutcome::Started, backup->outcome) << "the newest line";
    EXPECT_EQ(nullptr, lastEventOf(events, "backup")) << "case-sensitive";

    std::map<std::string, RunEvent> last = lastResultByTask(events);
    ASSERT_EQ(2u, last.size());
    EXPECT_EQ("running", resultText(last["Backup"]));
    EXPECT_EQ("declined", resultText(last["Mail"]));

    // Launches of one task that overlap: the one that began last tells the
    // result, whichever line came last.
    RunEvent longRun = event("Cycle", RunOutcome::Started);
    RunEvent failed = withCode(event("Cycle", RunOutcome::NotStarted), 2);
    failed.started.minute += 5;
    RunEvent longEnd = withCode(longRun, 0);
    longEnd.outcome = RunOutcome::Exited;
    EXPECT_EQ(RunOutcome::NotStarted, lastResultByTask({longRun, failed, longEnd})["Cycle"].outcome);
}

TEST(HistoryReadings, RunsPairEachStartWithItsEnd) {
    RunEvent first = event("Backup", RunOutcome::Started);
    RunEvent second = event("Backup", RunOutcome::Started);
    second.started.second = 30;
    RunEvent firstEnd = withCode(first, 0);
    firstEnd.outcome = RunOutcome::Exited;
    RunEvent other = event("Mail", RunOutcome::Shown);
    std::vector<RunEvent> events = {first, second, other, firstEnd};

    std::vector<RunOfTask> runs = runsOf(events);
    ASSERT_EQ(3u, runs.size());
    EXPECT_EQ(0u, runs[0].firstEvent);
    EXPECT_EQ(RunOutcome::Exited, runs[0].last.outcome) << "the end found its start";
    EXPECT_EQ(1u, runs[1].firstEvent);
    EXPECT_TRUE(isRunning(runs[1].last)) << "the later start of the same task runs on";
    EXPECT_EQ(RunOutcome::Shown, runs[2].last.outcome);

    // A scheduler that lives on after its stop writes the end of a run it
    // said was still running: one run, told by its end.
    RunEvent atStop = event("Backup", RunOutcome::RunningAtStop);
    runs = runsOf({first, atStop, firstEnd});
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(RunOutcome::Exited, runs[0].last.outcome);
}

TEST(HistoryReadings, ResultTextsAndFailures) {
    struct Case {
        RunEvent e;
        const char* text;
        bool failure;
    } cases[] = {
        {withCode(event("T", RunOutcome::Exited), 0), "0", false},
        {withCode(event("T", RunOutcome::Exited), 3), "exit 3", true},
        {withCode(event("T", RunOutcome::NotStarted), 2, "The system cannot find the file specified."),
         "not started: The system cannot find the file specified.", true},
        {withCode(event("T", RunOutcome::FallbackFailed), 5), "fallback failed: error 5", true},
        {withCode(event("T", RunOutcome::FallbackStarted), 2, "Not found."), "running", false},
        {event("T", RunOutcome::Started), "running", false},
        {withCode(event("T", RunOutcome::Closed), 0), "closed", false},
        {event("T", RunOutcome::Killed), "killed", false},
        {event("T", RunOutcome::RunningAtStop), "still running at stop", false},
        {event("T", RunOutcome::Declined), "declined", false},
        {event("T", RunOutcome::Opened), "opened", false},
        {withCode(event("T", RunOutcome::ShutdownRefused), 1314, "A required privilege is not held by the client."),
         "shutdown refused: A required privilege is not held by the client.", true},
        {event("T", RunOutcome::Sent), "sent", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, resultText(c.e));
        EXPECT_EQ(c.failure, isFailure(c.e)) << c.text;
    }
}

TEST(HistoryFiles, LieBesideTheScheduleFile) {
    EXPECT_EQ("C:\\KZO\\User.jsf.history", historyFileOf("C:\\KZO\\User.jsf"));
    EXPECT_EQ("C:\\KZO\\User.jsf.history.1", rotatedHistoryFileOf(historyFileOf("C:\\KZO\\User.jsf")));
}

}  // namespace
}  // namespace kzo
