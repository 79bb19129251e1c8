// The task list's cell texts, row colours and sort order, on ordinary tasks and
// on records of any bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <vector>

#include "task_cells.h"
#include "test_support.h"

namespace kzo {
namespace {

using Edit = std::function<void(TaskRecord&)>;

// A new task (run later set, full-day interval, never run) changed by edit.
TaskRecord task(const Edit& edit) {
    TaskRecord r = test::record("Task");
    edit(r);
    return r;
}

constexpr CellOptions k24h{false, true};
constexpr CellOptions kAmpm{true, true};
constexpr CellOptions kSystem{false, false};

// A history line of a task's launch: its result, code and text, at 04:00:05.
RunEvent event(RunOutcome outcome, bool hasCode = false, std::uint32_t code = 0, const char* text = "",
               int second = 5) {
    RunEvent e;
    e.task = "Task";
    e.time = launchTimeAt(2026, 12, 9, 4, 0, second);
    e.started = launchTimeAt(2026, 12, 9, 4, 0, 0);
    e.outcome = outcome;
    e.hasCode = hasCode;
    e.code = code;
    e.text = text;
    return e;
}

TEST(TaskCells, TextsOfEveryColumn) {
    struct Case {
        int column;
        CellOptions options;
        Edit edit;
        const char* expected;
    };
    const Case cases[] = {
        {kColumnDate, k24h, [](TaskRecord& r) { r.weekdays = 1 | 16; setField(r.daysOfMonth, "01"); }, "MoFr, 01"},
        {kColumnDate, k24h, [](TaskRecord& r) { setField(r.daysOfMonth, "01,15"); }, ", 01,15"},
        {kColumnDate, k24h, [](TaskRecord& r) { r.weekdays = 1; setField(r.daysOfMonth, "15,L"); }, "Mo, 15,L"},
        {kColumnDate, k24h, [](TaskRecord& r) { r.weekdays = -1; }, "MoTuWeThFrSaSu, "},
        {kColumnMonth, k24h, [](TaskRecord& r) { r.months = 0; }, "EVERY"},
        {kColumnMonth, k24h, [](TaskRecord& r) { r.months = 4095; }, "EVERY"},
        {kColumnMonth, k24h, [](TaskRecord& r) { r.months = 5 | 2048; }, "Jan Mar Dec "},
        {kColumnMonth, k24h, [](TaskRecord& r) { r.months = 4096; }, ""},
        {kColumnTime, k24h, [](TaskRecord& r) { r.time = 425; r.runLater = 0; }, "07:05"},
        {kColumnTime, kAmpm, [](TaskRecord& r) { r.time = 425; r.runLater = 0; }, "07:05AM"},
        {kColumnTime, kAmpm, [](TaskRecord& r) { r.time = 810; r.runLater = 0; }, "01:30PM"},
        {kColumnTime, kAmpm, [](TaskRecord& r) { r.time = 30; r.runLater = 0; }, "12:30AM"},
        {kColumnTime, kAmpm, [](TaskRecord& r) { r.time = 725; r.runLater = 0; }, "12:05PM"},
        {kColumnTime, k24h, [](TaskRecord& r) { r.time = 0; }, "00:00+"},
        {kColumnTime, kAmpm, [](TaskRecord& r) { r.time = 1515; r.runLater = 0; }, "**:15"},
        {kColumnTime, kAmpm, [](TaskRecord& r) { r.time = 90; r.cycle = 1; r.runLater = 0; }, "01:30!"},
        {kColumnTime, k24h, [](TaskRecord& r) { r.time = 1500; r.cycle = 1; }, "25:00+!"},
        {kColumnTime, k24h, [](TaskRecord& r) { r.time = 1560; r.runLater = 0; }, "UserLogon"},
        {kColumnTime, kSystem, [](TaskRecord& r) { r.time = 1560; }, "SysStartup+"},
        {kColumnTime, kAmpm, [](TaskRecord& r) { r.time = 27 * 60 + 3; r.runLater = 0; }, "27:03AM"},
        {kColumnTime, k24h, [](TaskRecord& r) { r.time = -65; r.runLater = 0; }, "-1:-5"},
        {kColumnTime, k24h, [](TaskRecord& r) { r.time = INT_MIN; r.runLater = 0; }, "-35791394:-8"},
        {kColumnInterval, k24h, [](TaskRecord&) {}, "00:00-23:59"},
        {kColumnInterval, kAmpm, [](TaskRecord&) {}, "12:00AM-11:59PM"},
        {kColumnInterval, k24h, [](TaskRecord& r) { r.intervalStart = 545; r.intervalEnd = 1020; r.invert = 1; },
         "09:05-17:00!"},
        {kColumnInterval, k24h, [](TaskRecord& r) { r.intervalStart = -1; r.intervalEnd = INT_MAX; },
         "00:-1-35791394:07"},
        {kColumnCommand, k24h, [](TaskRecord& r) { setField(r.command, "a.exe"); }, "a.exe"},
        {kColumnCommand, k24h, [](TaskRecord& r) { r.type = 1; setField(r.command, "a.txt"); }, "DOC> a.txt"},
        {kColumnCommand, k24h, [](TaskRecord& r) { r.type = 2; setField(r.command, "Hi"); }, "MSG> Hi"},
        {kColumnCommand, k24h, [](TaskRecord& r) { r.type = 3; setField(r.command, "REBOOT"); }, "SDN> REBOOT"},
        {kColumnCommand, k24h, [](TaskRecord& r) { r.type = 9; setField(r.command, "x"); }, "x"},
        {kColumnFolder, k24h, [](TaskRecord& r) { setField(r.folder, "C:\\Work"); }, "C:\\Work"},
        {kColumnLastRun, k24h, [](TaskRecord&) {}, ""},
        {kColumnLastRun, k24h, [](TaskRecord& r) { r.lastYear = 79; }, ""},
        {kColumnLastRun, k24h,
         [](TaskRecord& r) { r.lastDay = 5; r.lastMonth = 3; r.lastYear = 101; r.lastHour = 9; r.lastMinute = 7; },
         "05.03.2001 09:07"},
        {kColumnLastRun, kAmpm, [](TaskRecord& r) { r.lastYear = 101; r.lastHour = 21; }, "01.01.2001 09:00PM"},
        {kColumnLastRun, k24h, [](TaskRecord& r) { r.lastYear = INT_MAX; }, "01.01.2147485547 00:00"},
        {kColumnLastRun, k24h, [](TaskRecord& r) { r.lastYear = -1900; }, ""},
        {kColumnCount, k24h, [](TaskRecord&) {}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, taskCellText(task(c.edit), c.column, c.options)) << "column " << c.column;
    }
}

TEST(TaskCells, LastResultInAFewWordsWithItsTimeInTheTip) {
    const struct {
        RunEvent last;
        const char* cell;
    } cases[] = {
        {event(RunOutcome::Exited, true, 0), "0"},
        {event(RunOutcome::Exited, true, 3), "exit 3"},
        {event(RunOutcome::NotStarted, true, 2, "The system cannot find the file specified."),
         "not started: The system cannot find the file specified."},
        {event(RunOutcome::Started), "running"},
        {event(RunOutcome::Declined), "declined"},
    };
    for (const auto& c : cases) {
        CellOptions options = k24h;
        options.lastResult = &c.last;
        EXPECT_EQ(c.cell, taskCellText(task([](TaskRecord&) {}), kColumnLastResult, options));
    }
    EXPECT_EQ("", taskCellText(task([](TaskRecord&) {}), kColumnLastResult, k24h)) << "none recorded";
    EXPECT_EQ("Last result: exit 3, 09.12.2026 04:00:05", lastResultTip(cases[1].last, false));
    RunEvent evening = event(RunOutcome::Declined);
    evening.time.hour = 21;
    EXPECT_EQ("Last result: declined, 09.12.2026 09:00:05PM", lastResultTip(evening, true));
}

TEST(TaskCells, FieldsWithoutTheirNulStopAtTheirWidth) {
    TaskRecord r = task([](TaskRecord& r) { r.type = kTypeMessage; });
    std::memset(r.name, 'N', sizeof r.name);
    std::memset(r.command, 'C', sizeof r.command);
    std::memset(r.daysOfMonth, 'D', sizeof r.daysOfMonth);
    EXPECT_EQ(std::string(65, 'N'), taskCellText(r, kColumnTask, k24h));
    EXPECT_EQ("MSG> " + std::string(512, 'C'), taskCellText(r, kColumnCommand, k24h));
    EXPECT_EQ(", " + std::string(65, 'D'), taskCellText(r, kColumnDate, k24h));
}

TEST(TaskCells, CallersBufferIsFilledToItsSizeAndTerminated) {
    TaskRecord r = task([](TaskRecord& r) { setField(r.command, "0123456789"); });
    char buffer[8];
    EXPECT_EQ(7u, taskCellText(r, kColumnCommand, k24h, defaultTaskListNames(), buffer, sizeof buffer));
    EXPECT_STREQ("0123456", buffer);
    EXPECT_EQ(0u, taskCellText(r, kColumnCommand, k24h, defaultTaskListNames(), buffer, 1));
    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ(0u, taskCellText(r, kColumnCommand, k24h, defaultTaskListNames(), nullptr, 0));
}

TEST(TaskRowColors, EntriesByStateAndType) {
    struct Case {
        int active, type, background, text;
    } const cases[] = {{1, 0, 1, 11}, {1, 3, 4, 14}, {0, 0, 5, 15}, {0, 2, 7, 17}, {1, 100, 1, 11}, {-1, -3, 1, 11}};
    for (const Case& c : cases) {
        RowColorEntries e = rowColorEntries(task([&c](TaskRecord& r) { r.active = c.active; r.type = c.type; }));
        EXPECT_EQ(c.background, e.background) << c.active << "/" << c.type;
        EXPECT_EQ(c.text, e.text) << c.active << "/" << c.type;
    }
}

// Under colour highlighting a row whose last run failed takes the failed
// rows' colours whatever its type and state; the others their entries'.
TEST(TaskRowColors, FailedRowsTakeTheirOwnColours) {
    TerminalSettings s;
    s.textColors[7] = 0x000007;
    s.bkColors[7] = 0x000070;
    s.failedTextColor = 0x0000AA;
    s.failedBkColor = 0x00AA00;
    TaskRecord inactiveMessage = task([](TaskRecord& r) { r.active = 0; r.type = kTypeMessage; });
    RowColors plain = rowColors(s, inactiveMessage, false);
    EXPECT_EQ(0x000007u, plain.text);
    EXPECT_EQ(0x000070u, plain.background);
    RowColors failed = rowColors(s, inactiveMessage, true);
    EXPECT_EQ(0x0000AAu, failed.text);
    EXPECT_EQ(0x00AA00u, failed.background);
}

int sign(int value) { return (value > 0) - (value < 0); }

// Ascending: none recorded, results that are no failure, failures; alike
// results by code, then by time.
TEST(TaskSort, LastResultsFromNoneToFailures) {
    const RunEvent ordered[] = {
        event(RunOutcome::Started),
        event(RunOutcome::Exited, true, 0, "", 1),
        event(RunOutcome::Exited, true, 0, "", 9),
        event(RunOutcome::Declined),
        event(RunOutcome::Exited, true, 3),
        event(RunOutcome::Exited, true, 10),
        event(RunOutcome::NotStarted, true, 2, "The system cannot find the file specified."),
    };
    const TaskRecord r = task([](TaskRecord&) {});
    EXPECT_EQ(-1, sign(compareTasks(r, r, kColumnLastResult, nullptr, &ordered[0]))) << "none recorded first";
    EXPECT_EQ(0, compareTasks(r, r, kColumnLastResult, nullptr, nullptr));
    for (std::size_t i = 0; i < std::size(ordered); ++i) {
        EXPECT_EQ(0, compareTasks(r, r, kColumnLastResult, &ordered[i], &ordered[i])) << i;
        for (std::size_t j = i + 1; j < std::size(ordered); ++j) {
            EXPECT_EQ(-1, sign(compareTasks(r, r, kColumnLastResult, &ordered[i], &ordered[j]))) << i << " < " << j;
            EXPECT_EQ(1, sign(compareTasksForSort(r, r, sortValueOf(kColumnLastResult, true), &ordered[i], &ordered[j])))
                << "descending " << i << " > " << j;
        }
    }
}

TEST(TaskSort, EachColumnsRule) {
    struct Case {
        int column;
        Edit a, b;
        int expected;  // sign of compareTasks(a, b)
    };
    const Case cases[] = {
        {kColumnTask, [](TaskRecord& r) { setField(r.name, "B"); }, [](TaskRecord& r) { setField(r.name, "a"); }, -1},
        {kColumnTask, [](TaskRecord& r) { setField(r.name, "Ab"); }, [](TaskRecord& r) { setField(r.name, "Abc"); }, -1},
        {kColumnTask, [](TaskRecord& r) { setField(r.name, "\xE9"); }, [](TaskRecord& r) { setField(r.name, "z"); }, 1},
        {kColumnDate, [](TaskRecord& r) { r.weekdays = 1; }, [](TaskRecord& r) { r.weekdays = 64; }, 1},
        {kColumnDate, [](TaskRecord& r) { r.weekdays = 2 | 4; }, [](TaskRecord& r) { r.weekdays = 2 | 8; }, 1},
        {kColumnDate, [](TaskRecord& r) { r.weekdays = 3; setField(r.daysOfMonth, "02"); },
         [](TaskRecord& r) { r.weekdays = 3; setField(r.daysOfMonth, "01,15"); }, 1},
        {kColumnDate, [](TaskRecord& r) { r.weekdays = -128; }, [](TaskRecord& r) { r.weekdays = 0; }, 0},
        {kColumnMonth, [](TaskRecord& r) { r.months = 0; }, [](TaskRecord& r) { r.months = 4095; }, 0},
        {kColumnMonth, [](TaskRecord& r) { r.months = 1; }, [](TaskRecord& r) { r.months = 2; }, 1},
        {kColumnMonth, [](TaskRecord& r) { r.months = 0; }, [](TaskRecord& r) { r.months = 4; }, 1},
        {kColumnTime, [](TaskRecord& r) { r.time = 1439; r.cycle = 1; }, [](TaskRecord& r) { r.time = 0; }, -1},
        {kColumnTime, [](TaskRecord& r) { r.time = 600; }, [](TaskRecord& r) { r.time = 599; }, 1},
        {kColumnTime, [](TaskRecord& r) { r.time = INT_MAX; }, [](TaskRecord& r) { r.time = 0; }, 1},
        {kColumnInterval, [](TaskRecord& r) { r.intervalEnd = 60; },
         [](TaskRecord& r) { r.intervalStart = 600; r.intervalEnd = 720; }, -1},
        {kColumnInterval, [](TaskRecord& r) { r.intervalEnd = 60; },
         [](TaskRecord& r) { r.intervalStart = 60; r.intervalEnd = 120; }, 0},
        {kColumnInterval, [](TaskRecord& r) { r.intervalStart = INT_MIN; r.intervalEnd = INT_MAX; },
         [](TaskRecord&) {}, 1},
        {kColumnCommand, [](TaskRecord& r) { setField(r.command, "b"); }, [](TaskRecord& r) { setField(r.command, "a"); }, 1},
        {kColumnFolder, [](TaskRecord&) {}, [](TaskRecord& r) { setField(r.folder, "C:\\"); }, -1},
        {kColumnLastRun, [](TaskRecord& r) { r.lastYear = 101; r.lastMonth = 12; },
         [](TaskRecord& r) { r.lastYear = 102; }, -1},
        {kColumnLastRun, [](TaskRecord& r) { r.lastMonth = 3; }, [](TaskRecord& r) { r.lastMonth = 2; r.lastDay = 28; }, 1},
        {kColumnLastRun, [](TaskRecord& r) { r.lastHour = 9; r.lastMinute = 59; }, [](TaskRecord& r) { r.lastHour = 10; }, -1},
        {99, [](TaskRecord& r) { setField(r.name, "a"); }, [](TaskRecord& r) { setField(r.name, "b"); }, -1},
    };
    for (const Case& c : cases) {
        TaskRecord a = task(c.a), b = task(c.b);
        EXPECT_EQ(c.expected, sign(compareTasks(a, b, c.column))) << "column " << c.column;
        EXPECT_EQ(-c.expected, sign(compareTasks(b, a, c.column))) << "column " << c.column << " swapped";
        EXPECT_EQ(-c.expected, sign(compareTasksForSort(a, b, sortColumn(c.column) + 8))) << "descending";
    }
}

TEST(TaskSort, HeaderClicksAndArrows) {
    struct Case {
        int current, clicked, next;
    } const cases[] = {{0, 0, 8},   {8, 0, 0},   {1, 1, 9},   {9, 1, 1},  {9, 3, 3},  {3, 1, 1},  {42, 2, 2},
                       {-1, 0, 8},  {2, 9, 2},   {2, 8, 16},  {8, 8, 16}, {16, 8, 17}, {17, 8, 16}, {16, 0, 0},
                       {17, 7, 7},  {18, 8, 16}};
    for (const Case& c : cases)
        EXPECT_EQ(c.next, sortValueAfterClick(c.current, c.clicked)) << c.current << " click " << c.clicked;
    EXPECT_EQ(kArrowUpBitmap, headerArrowBitmap(1, 1));
    EXPECT_EQ(kArrowDownBitmap, headerArrowBitmap(9, 1));
    EXPECT_EQ(kArrowBlankBitmap, headerArrowBitmap(9, 0));
    EXPECT_EQ(kArrowUpBitmap, headerArrowBitmap(16, kColumnLastResult));
    EXPECT_EQ(kArrowDownBitmap, headerArrowBitmap(17, kColumnLastResult));
    EXPECT_EQ(kArrowBlankBitmap, headerArrowBitmap(8, kColumnLastResult)) << "8 is Task, descending";
    EXPECT_EQ(kColumnTask, sortColumn(18)) << "beyond the last value: the default";
}

// Records of random bytes: every column orders them consistently (antisymmetric
// and transitive over all triples) and every cell is made.
TEST(TaskSort, RandomRecordsAreOrderedConsistently) {
    std::mt19937 random(1709);
    std::vector<TaskRecord> records(40);
    for (TaskRecord& r : records) {
        auto* bytes = reinterpret_cast<unsigned char*>(&r);
        for (std::size_t i = 0; i < sizeof r; ++i) bytes[i] = static_cast<unsigned char>(random() % 4 ? 0 : random());
        r.name[0] = static_cast<char>('a' + random() % 3);  // some equal names
    }
    // Their last results: none for some, of every outcome, code and a few times.
    std::vector<RunEvent> results(records.size());
    std::vector<const RunEvent*> last(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        results[i] = event(static_cast<RunOutcome>(random() % 16), random() % 2 != 0, random() % 3, "x",
                           static_cast<int>(random() % 3));
        last[i] = random() % 5 ? &results[i] : nullptr;
    }
    const std::size_t n = records.size();
    for (int column = 0; column < kColumnCount; ++column) {
        auto compare = [&](std::size_t x, std::size_t y) {
            return compareTasks(records[x], records[y], column, last[x], last[y]);
        };
        for (std::size_t a = 0; a < n; ++a) {
            for (std::size_t b = 0; b < n; ++b) {
                int ab = sign(compare(a, b));
                ASSERT_EQ(-ab, sign(compare(b, a))) << column;
                for (std::size_t c = 0; c < n; ++c) {
                    if (ab <= 0 && compare(b, c) <= 0) {
                        ASSERT_LE(compare(a, c), 0) << column;
                    }
                }
            }
            for (CellOptions o : {k24h, kAmpm, kSystem}) {
                o.lastResult = last[a];
                taskCellText(records[a], column, o);
            }
        }
    }
}

}  // namespace
}  // namespace kzo
