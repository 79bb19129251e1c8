// The History window's rows: the launches newest first, of one task or of
// all, and their cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history_rows.h"

namespace kzo {
namespace {

// A history line: the task, when its launch began (minute of 04:MM:00), when
// the line was written (second), its result.
RunEvent line(const char* task, int startMinute, int second, RunOutcome outcome, bool hasCode = false,
              std::uint32_t code = 0) {
    RunEvent e;
    e.task = task;
    e.pass = launchTimeAt(2026, 12, 9, 4, startMinute);
    e.started = launchTimeAt(2026, 12, 9, 4, startMinute, 0);
    e.time = launchTimeAt(2026, 12, 9, 4, startMinute, second);
    e.outcome = outcome;
    e.hasCode = hasCode;
    e.code = code;
    return e;
}

std::vector<std::string> column(const std::vector<RunOfTask>& runs, int c, bool ampm = false) {
    std::vector<std::string> texts;
    for (const RunOfTask& r : runs) texts.push_back(historyCellText(r, c, ampm));
    return texts;
}

TEST(HistoryRows, LaunchesNewestFirstOfEveryTaskOrOfOne) {
    // Backup runs on while Clock begins and ends; Clock's second launch runs.
    const std::vector<RunEvent> events = {
        line("Backup", 0, 1, RunOutcome::Started),
        line("Clock", 1, 1, RunOutcome::Exited, true, 0),
        line("Backup", 0, 30, RunOutcome::Exited, true, 3),
        line("Clock", 2, 1, RunOutcome::Started),
        line("Mail", 3, 0, RunOutcome::Declined),
    };
    std::vector<RunOfTask> all = historyRows(events, "");
    EXPECT_EQ((std::vector<std::string>{"Mail", "Clock", "Clock", "Backup"}), column(all, kHistoryTask));
    EXPECT_EQ((std::vector<std::string>{"declined", "running", "0", "exit 3"}), column(all, kHistoryResult));
    EXPECT_EQ((std::vector<std::string>{"09.12.2026 04:03:00", "09.12.2026 04:02:00", "09.12.2026 04:01:00",
                                        "09.12.2026 04:00:00"}),
              column(all, kHistoryStarted));
    EXPECT_EQ((std::vector<std::string>{"09.12.2026 04:03:00", "", "09.12.2026 04:01:01", "09.12.2026 04:00:30"}),
              column(all, kHistoryEnded))
        << "no end while the program runs";
    EXPECT_EQ("09.12.2026 04:00:30AM", historyCellText(all[3], kHistoryEnded, true));
    EXPECT_EQ("", historyCellText(all[0], kHistoryColumnCount, false));

    EXPECT_EQ((std::vector<std::string>{"running", "0"}), column(historyRows(events, "  Clock "), kHistoryResult))
        << "one task's, its name trimmed";
    EXPECT_TRUE(historyRows(events, "clock").empty()) << "names are compared as they are";
    EXPECT_TRUE(historyRows({}, "").empty());

    // Read anew after more lines: each launch is found again in its new row.
    std::vector<RunEvent> more = events;
    more.push_back(line("Clock", 2, 40, RunOutcome::Exited, true, 1));
    more.push_back(line("Backup", 4, 1, RunOutcome::Started));
    const std::vector<RunOfTask> after = historyRows(more, "");
    EXPECT_EQ(2, rowOfLaunch(after, all[1].last)) << "Clock's second launch, now ended, one row down";
    EXPECT_EQ("exit 1", historyCellText(after[2], kHistoryResult, false));
    EXPECT_EQ(4, rowOfLaunch(after, all[3].last));
    EXPECT_EQ(-1, rowOfLaunch(historyRows(events, "Mail"), all[3].last));
}

}  // namespace
}  // namespace kzo
