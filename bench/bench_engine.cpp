// The engine's costs on large schedules: the reload (open, read through the day
// filter, close), one pass's due walk, and one write-back, each against a plain
// sequential read (and read + write) of the same file measured in the same run.
//
//   bench_engine.exe [runs]
//
// Prints medians in milliseconds and the ratios the targets are stated in:
// reload within 2x of the plain read, write-back within 3x of the plain read +
// write, due walk at least 20 million records per second.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "due_rule.h"
#include "launch_stamp.h"
#include "schedule_store.h"
#include "write_back.h"

namespace {

using namespace kzo;
using namespace kzo::bench;

// A schedule of n varied tasks: daily times, every-hour tasks, cycles, some
// restricted to weekdays or days of the month, some inactive.
std::vector<TaskRecord> makeTasks(std::size_t n) {
    std::vector<TaskRecord> tasks(n);
    for (std::size_t i = 0; i < n; ++i) {
        TaskRecord& r = tasks[i];
        r = newTaskRecord(static_cast<int>(i + 1));
        std::snprintf(r.command, sizeof r.command, "C:\\Tools\\job%zu.exe /run", i);
        r.weekdays = (i % 5 == 0) ? 0 : 127;
        if (i % 5 == 0) setField(r.daysOfMonth, "01,08,15,22");
        r.runLater = static_cast<int8_t>(i % 2);
        r.edited = 0;
        switch (i % 4) {
            case 0: r.time = static_cast<int32_t>(i % 1440); break;
            case 1: r.time = kTimeEveryHour + static_cast<int32_t>(i % 60); break;
            case 2: r.cycle = 1; r.time = 1 + static_cast<int32_t>(i % 240); break;
            default: r.time = static_cast<int32_t>((i * 7) % 1440); break;
        }
        r.active = (i % 10 == 9) ? 0 : 1;
        r.lastYear = 126;
        r.lastMonth = 12;
        r.lastDay = static_cast<int8_t>(1 + i % 8);
        r.lastHour = static_cast<int8_t>(i % 24);
    }
    return tasks;
}

void writeFileBytes(const std::string& path, const void* data, std::size_t size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

// The baselines: the same file read (and written back) in 1 MiB blocks.
std::size_t plainRead(const std::string& path, std::vector<char>& buffer) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::size_t total = 0;
    DWORD got = 0;
    while (ReadFile(file, buffer.data() + total, 1 << 20, &got, nullptr) && got) total += got;
    CloseHandle(file);
    return total;
}

void plainReadWrite(const std::string& path, std::vector<char>& buffer) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::size_t total = 0;
    DWORD got = 0;
    while (ReadFile(file, buffer.data() + total, 1 << 20, &got, nullptr) && got) total += got;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file, buffer.data(), static_cast<DWORD>(total), &written, nullptr);
    SetEndOfFile(file);
    CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 7;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "kzo-bench.jsf";
    const LaunchTime now = launchTimeAt(2026, 12, 8, 14, 5, 1);
    DueContext context;
    context.now = now;
    context.uptimeMs = 3600000;

    std::printf("Engine costs, median of %d runs (ms unless stated)\n\n", runs);
    std::printf("%8s | %10s %10s %6s | %12s | %10s %10s %6s\n", "tasks", "plain read", "reload",
                "ratio", "due walk M/s", "plain r+w", "write-back", "ratio");
    std::printf("%s\n", std::string(90, '-').c_str());

    for (std::size_t n : {std::size_t{1000}, std::size_t{10000}, std::size_t{100000}}) {
        std::vector<TaskRecord> tasks = makeTasks(n);
        writeFileBytes(path, tasks.data(), n * kRecordSize);
        std::vector<char> buffer(n * kRecordSize + (1 << 20));

        // The pass store of a pass that launched a tenth of the tasks.
        ScheduleStore passStore;
        passStore.reserve(n * kRecordSize);
        for (std::size_t i = 0; i < n; ++i) {
            TaskRecord r = tasks[i];
            if (i % 10 == 0) stampLaunch(r, now);
            passStore.append(r);
        }

        std::vector<double> read, reload, walk, readWrite, writeBack;
        std::size_t due = 0, kept = 0;
        // One reload store for all runs, as the loop keeps its pass store.
        ScheduleStore reloaded;
        ScheduleStore written;
        for (int run = 0; run < runs; ++run) {
            read.push_back(timeOnce([&] { plainRead(path, buffer); }));
            reload.push_back(timeOnce([&] {
                reloaded.setFileName(path.c_str());
                if (reloaded.open(false) == kStoreOk && reloaded.read(DayFilter(context)) == kStoreOk)
                    reloaded.close();
                kept = reloaded.count();
            }));
            // Enough walks to measure even the small schedule.
            const int walks = static_cast<int>(std::max<std::size_t>(1, 2000000 / n));
            double ms = timeOnce([&] {
                for (int w = 0; w < walks; ++w) {
                    DueContext c = context;
                    c.now.minute = (now.minute + w) % 60;
                    forEachDue(passStore, c, [&](TaskRecord&) { ++due; });
                }
            });
            walk.push_back(static_cast<double>(n) * walks / (ms / 1000.0) / 1e6);
            readWrite.push_back(timeOnce([&] { plainReadWrite(path, buffer); }));
            writeBack.push_back(timeOnce([&] { writeBackLaunches(path.c_str(), passStore, now, written); }));
        }
        double r = median(read), l = median(reload), rw = median(readWrite), wb = median(writeBack);
        std::printf("%8zu | %10.2f %10.2f %5.2fx | %12.1f | %10.2f %10.2f %5.2fx\n", n, r, l,
                    l / r, median(walk), rw, wb, wb / rw);
        std::fflush(stdout);
        (void)kept;
    }
    std::printf("\nTargets: reload <= 2x plain read; write-back <= 3x plain read+write; "
                "due walk >= 20 M records/s.\n");
    DeleteFileA(path.c_str());
    return 0;
}
