// The Terminal's costs on a schedule of 10,000 tasks, in its real main frame
// and list control: Refresh with the list rebuilt (and once more with the
// window painted), a sort by each column with the rows painted, a Save with the
// merge, and a Paste, each beside the store's plain read (and read + write) of
// the same file measured in the same run. Then, with a run history of 10,000
// launches beside the schedule: Refresh with the history read, and the History
// window opened on it (read, parsed, shown and painted until it waits for
// input).
//
//   bench_terminal.exe [tasks] [runs]
//
// Prints medians in milliseconds. Targets: Refresh under 200 ms and within 10x
// of the plain read, a sort under 100 ms, a Save within 3x of the plain read +
// write, the History window of 10,000 runs under 200 ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "history_dialog.h"
#include "main_frame.h"
#include "resource.h"
#include "run_event.h"
#include "schedule_store.h"
#include "task_cells.h"

namespace {

using namespace kzo;
using namespace kzo::bench;

// Every window message waiting is handled: the list has painted what it shows.
void settle(HWND frame) {
    UpdateWindow(frame);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Varied tasks: every type, times of day, every-hour tasks, cycles, days of the
// month, months, intervals, run stamps, some inactive.
void writeSchedule(const std::string& path, std::size_t n) {
    std::vector<TaskRecord> tasks(n);
    for (std::size_t i = 0; i < n; ++i) {
        TaskRecord& r = tasks[i];
        r = newTaskRecord(static_cast<int>(i + 1));
        std::snprintf(r.name, sizeof r.name, "Task %05zu %c", (i * 7919) % n, static_cast<char>('A' + i % 26));
        std::snprintf(r.command, sizeof r.command, "C:\\Tools\\job%zu.exe /run", (i * 31) % 977);
        std::snprintf(r.folder, sizeof r.folder, "C:\\Work\\%zu", i % 50);
        r.type = static_cast<int8_t>(i % 4);
        r.weekdays = static_cast<int8_t>(i % 128);
        if (i % 3 == 0) setField(r.daysOfMonth, "01,15");
        r.months = static_cast<int32_t>((i * 37) % 4096);
        r.time = i % 5 == 0 ? kTimeEveryHour + static_cast<int32_t>(i % 60) : static_cast<int32_t>((i * 13) % 1440);
        r.cycle = static_cast<int8_t>(i % 7 == 0);
        r.intervalStart = static_cast<int32_t>(i % 600);
        r.intervalEnd = 600 + static_cast<int32_t>(i % 839);
        r.active = static_cast<int8_t>(i % 9 != 0);
        r.edited = 0;
        r.lastYear = static_cast<int32_t>(i % 3 == 0 ? 0 : 100 + i % 27);
        r.lastMonth = static_cast<int8_t>(1 + i % 12);
        r.lastDay = static_cast<int8_t>(1 + i % 28);
        r.lastHour = static_cast<int8_t>(i % 24);
        r.lastMinute = static_cast<int8_t>(i % 60);
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, tasks.data(), static_cast<DWORD>(n * kRecordSize), &written, nullptr);
    CloseHandle(file);
}

void writeFile(const std::string& path, const std::string& bytes, bool append = false) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (append) SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A history of this many launches of the schedule's tasks, a minute apart: a
// program that ended with 0 or 3 (two lines each), one that could not start,
// one declined; the older half in the ".1" copy. Returns the bytes written.
std::size_t writeHistory(const std::string& schedule, std::size_t tasks, std::size_t launches) {
    std::string older, newer;
    for (std::size_t i = 0; i < launches; ++i) {
        RunEvent e;
        char name[80];
        std::size_t t = i % tasks;
        std::snprintf(name, sizeof name, "Task %05zu %c", (t * 7919) % tasks, static_cast<char>('A' + t % 26));
        e.task = name;
        int minutes = static_cast<int>(i);
        e.pass = launchTimeAt(2026, 1 + minutes / 44640 % 12, 1 + minutes / 1440 % 28, minutes / 60 % 24, minutes % 60);
        e.started = e.pass;
        e.time = e.pass;
        std::string& out = i < launches / 2 ? older : newer;
        switch (i % 4) {
        case 0:
        case 1:
            e.outcome = RunOutcome::Started;
            out += formatHistoryLine(e);
            e.time.second = 7;
            e.outcome = RunOutcome::Exited;
            e.hasCode = true;
            e.code = i % 4 == 0 ? 0 : 3;
            e.durationMs = 7012;
            break;
        case 2:
            e.outcome = RunOutcome::NotStarted;
            e.hasCode = true;
            e.code = 2;
            e.text = "The system cannot find the file specified.";
            break;
        default: e.outcome = RunOutcome::Declined; break;
        }
        out += formatHistoryLine(e);
    }
    const std::string history = historyFileOf(schedule);
    writeFile(rotatedHistoryFileOf(history), older);
    writeFile(history, newer);
    return older.size() + newer.size();
}

// The History window's owner: told by the dialog's loop when the dialog waits
// for input (WM_ENTERIDLE), it closes the dialog and notes the moment.
double historyIdleAt = 0;
LRESULT CALLBACK historyOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
        if (historyIdleAt == 0) historyIdleAt = nowMs();
        PostMessageA(reinterpret_cast<HWND>(lParam), WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t tasks = argc > 1 ? static_cast<std::size_t>(std::atol(argv[1])) : 10000;
    int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "bench_terminal.jsf";
    writeSchedule(path, tasks);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    TerminalSettings settings;
    settings.userDat = path;
    settings.sort = 0;
    CMainFrame frame(GetModuleHandleA(nullptr), settings, std::string(temp) + "kzo.exe");
    if (!frame.create()) {
        std::printf("the main frame could not be created\n");
        return 1;
    }
    frame.place();
    settle(frame.hwnd());

    ScheduleStore plain;
    plain.setFileName(path.c_str());
    UnchangedFilter unchanged;
    double plainRead = timed([&] {
        plain.open(false);
        plain.read(unchanged);
        plain.close();
    }, runs);
    double plainReadWrite = timed([&] {
        plain.open(true);
        plain.read(unchanged);
        plain.write(false);
        plain.close();
    }, runs);

    double refresh = timed([&] { frame.document().refresh(); }, runs);
    double refreshPainted = timed([&] {
        frame.document().refresh();
        settle(frame.hwnd());
    }, runs);

    std::vector<double> sorts;
    for (int column = 0; column < kColumnCount; ++column) {
        sorts.push_back(timed([&] {
            frame.list().sortByColumn(column);
            settle(frame.hwnd());
        }, runs));
    }
    double save = timed([&] { frame.document().save(); }, runs);

    ListView_SetItemState(frame.list().hwnd(), 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    frame.document().copyTask();
    double paste = timed([&] {
        frame.document().pasteTask();
        settle(frame.hwnd());
    }, runs);

    const std::size_t launches = 10000;
    const std::size_t historyBytes = writeHistory(path, tasks, launches);
    // A pass adds its line before each Refresh: the history is read again.
    // (Added past the bound, which a scheduler's append would move away.)
    RunEvent pass;
    pass.task = "Task 00000 A";
    pass.outcome = RunOutcome::Declined;
    std::vector<double> refreshes;
    for (int i = 0; i < runs; ++i) {
        writeFile(historyFileOf(path), formatHistoryLine(pass), true);
        refreshes.push_back(timeOnce([&] { frame.document().refresh(); }));
    }
    double refreshWithHistory = median(refreshes);
    double refreshUnchanged = timed([&] { frame.document().refresh(); }, runs);
    const int lastResult = kColumnLastResult;
    frame.list().sortByColumn(lastResult);  // ascending, sorted once again next
    double sortByResult = timed([&] {
        frame.list().sortByColumn(lastResult);
        settle(frame.hwnd());
    }, runs);

    WNDCLASSA ownerClass = {};
    ownerClass.lpfnWndProc = historyOwnerProc;
    ownerClass.hInstance = GetModuleHandleA(nullptr);
    ownerClass.lpszClassName = "BenchHistoryOwner";
    RegisterClassA(&ownerClass);
    HWND owner = CreateWindowA("BenchHistoryOwner", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    std::size_t shownRuns = 0;
    std::vector<double> opens;
    for (int i = 0; i < runs; ++i) {
        historyIdleAt = 0;
        const double start = nowMs();
        HistoryDialog dialog(path, "", false, true);
        dialog.runModal(GetModuleHandleA(nullptr), IDD_HISTORY, owner);
        opens.push_back(historyIdleAt - start);
        shownRuns = dialog.runs().size();
    }
    double historyOpen = median(opens);
    DestroyWindow(owner);

    std::printf("Terminal on %zu tasks (%zu bytes), median of %d runs, ms\n\n", tasks, tasks * kRecordSize, runs);
    std::printf("| operation | ms | baseline | ratio | target |\n|---|---|---|---|---|\n");
    std::printf("| plain read | %.2f | | | |\n", plainRead);
    std::printf("| plain read + write | %.2f | | | |\n", plainReadWrite);
    std::printf("| Refresh with the list rebuilt | %.2f | read %.2f | %.1fx | < 200 ms, <= 10x |\n", refresh, plainRead,
                refresh / plainRead);
    std::printf("| Refresh, rebuilt and painted | %.2f | read %.2f | %.1fx | |\n", refreshPainted, plainRead,
                refreshPainted / plainRead);
    static const char* const kNames[] = {"Task", "Date", "Month", "Time", "Interval", "Command", "Startup folder",
                                         "Last run", "Last result (no history)"};
    for (int column = 0; column < kColumnCount; ++column)
        std::printf("| sort by %s | %.2f | | | < 100 ms |\n", kNames[column], sorts[column]);
    std::printf("| Save with merge | %.2f | read + write %.2f | %.1fx | <= 3x |\n", save, plainReadWrite,
                save / plainReadWrite);
    std::printf("| Paste (append, save, refresh) | %.2f | | | |\n", paste);
    std::printf("\nWith a run history of %zu launches beside the schedule (%zu bytes in two files)\n\n", launches,
                historyBytes);
    std::printf("| operation | ms | baseline | ratio | target |\n|---|---|---|---|---|\n");
    std::printf("| Refresh, the history changed: read and parsed | %.2f | Refresh %.2f | %.1fx | < 200 ms |\n",
                refreshWithHistory, refresh, refreshWithHistory / refresh);
    std::printf("| Refresh, the history unchanged | %.2f | Refresh %.2f | %.1fx | |\n", refreshUnchanged, refresh,
                refreshUnchanged / refresh);
    std::printf("| sort by Last result | %.2f | | | < 100 ms |\n", sortByResult);
    std::printf("| History window of %zu runs opened | %.2f | | | < 200 ms |\n", shownRuns, historyOpen);
    DeleteFileA(path.c_str());
    DeleteFileA(historyFileOf(path).c_str());
    DeleteFileA(rotatedHistoryFileOf(historyFileOf(path)).c_str());
    return 0;
}
