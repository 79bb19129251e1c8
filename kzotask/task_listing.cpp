#include "task_listing.h"

#include <algorithm>
#include <array>

#include "launch_stamp.h"
#include "next_run.h"
#include "next_run_text.h"
#include "task_text.h"

namespace kzo {

namespace {

constexpr std::size_t kColumns = 10;
const std::array<const char*, kColumns> kHeadings = {"Task",     "Type",     "Time",   "Date",    "Month",
                                                     "Interval", "Next run", "Last run", "Result", "Command"};

std::array<std::string, kColumns> cellsOf(const ListedTask& listed, const CellOptions& options) {
    const TaskRecord& r = *listed.task;
    return {fieldText(r.name),
            typeWord(r.type),
            taskCellText(r, kColumnTime, options),
            taskCellText(r, kColumnDate, options),
            taskCellText(r, kColumnMonth, options),
            taskCellText(r, kColumnInterval, options),
            listed.nextRun,
            taskCellText(r, kColumnLastRun, options),
            listed.lastResult,
            fieldText(r.command)};
}

std::string visible(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
}

std::string csvField(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string taskTable(const std::vector<ListedTask>& tasks, const CellOptions& options) {
    if (tasks.empty()) return "There are no tasks in this Schedule.\n";
    std::vector<std::array<std::string, kColumns>> rows;
    rows.emplace_back();
    std::copy(kHeadings.begin(), kHeadings.end(), rows.back().begin());
    for (const ListedTask& task : tasks) {
        rows.push_back(cellsOf(task, options));
        for (std::string& cell : rows.back()) cell = visible(cell);
    }
    std::array<std::size_t, kColumns> widths{};
    for (const auto& row : rows)
        for (std::size_t i = 0; i < kColumns; ++i) widths[i] = std::max(widths[i], row[i].size());
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < kColumns; ++i) {
            line += row[i];
            if (i + 1 < kColumns) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

std::string taskCsv(const std::vector<ListedTask>& tasks, const CellOptions& options) {
    std::string out;
    for (std::size_t i = 0; i < kColumns; ++i) out += (i ? "," : "") + csvField(kHeadings[i]);
    out += "\n";
    for (const ListedTask& task : tasks) {
        std::array<std::string, kColumns> cells = cellsOf(task, options);
        for (std::size_t i = 0; i < kColumns; ++i) out += (i ? "," : "") + csvField(cells[i]);
        out += "\n";
    }
    return out;
}

std::vector<std::string> nextRunTimes(const TaskRecord& record, const LaunchTime& now, SchedulerRole role,
                                      bool ampm, int count) {
    std::vector<std::string> times;
    TaskRecord task = record;
    DueContext from;
    from.now = followingMinute(now);
    from.role = role;
    for (int i = 0; i < count; ++i) {
        NextRun next = findNextRun(task, from);
        times.push_back(nextRunWords(next, role, ampm));
        // A run-once task leaves the schedule after its run.
        if (next.kind != NextRunKind::At || task.runOnce == kRunOnceYes) break;
        stampLaunch(task, next.when);
        from.now = followingMinute(next.when);
    }
    return times;
}

std::string shownTask(const TaskRecord& record, const std::string& nextRun, const std::string& lastResult) {
    std::string out = taskBlock(record) + "; Next run: " + nextRun + "\n";
    if (!lastResult.empty()) out += "; Last result: " + lastResult + "\n";
    return out;
}

}  // namespace kzo
