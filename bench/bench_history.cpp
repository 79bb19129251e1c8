// What the run history costs a launch: one launch of a program that ends at
// once (bench/start_stamp), timed from the launch to the program's end, with
// the history (the launch thread follows the program and writes its two
// lines) and without it (the launch returns once the program runs; its end is
// waited for beside it), interleaved; then the history's file work alone: one
// line appended, and the append that moves a full file's lines to its ".1"
// copy.
//
//   bench_history.exe [runs]
//
// Prints medians in milliseconds and the difference the history makes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "launch_thread.h"
#include "run_history.h"
#include "win32_actions.h"

namespace {

using namespace kzo;
using namespace kzo::bench;

// The real processes, keeping a handle of every program started so that its
// end can be waited for when the launch does not follow it.
class WatchedProcesses final : public ProcessControl {
public:
    std::uint32_t startProgram(const char* commandLine, const char* folder, bool minimized,
                               ProcessRef& process) override {
        std::uint32_t error = real().startProgram(commandLine, folder, minimized, process);
        HANDLE copy = nullptr;
        if (error == 0 && DuplicateHandle(GetCurrentProcess(), process.handle, GetCurrentProcess(), &copy,
                                          SYNCHRONIZE, FALSE, 0))
            last_ = copy;
        return error;
    }
    std::uint32_t openDocument(const DocumentStart& d, bool minimized, ProcessRef& p) override {
        return real().openDocument(d, minimized, p);
    }
    bool waitForEnd(const ProcessRef& p, std::uint32_t ms) override { return real().waitForEnd(p, ms); }
    std::uint32_t exitCode(const ProcessRef& p) override { return real().exitCode(p); }
    void requestClose(const ProcessRef& p) override { real().requestClose(p); }
    void terminate(const ProcessRef& p) override { real().terminate(p); }
    void release(ProcessRef& p) override { real().release(p); }
    std::uint32_t tickMs() override { return real().tickMs(); }
    LaunchTime localTime() override { return real().localTime(); }

    // Waits for the last program started to end, and lets go of it.
    void waitForLast() {
        if (!last_) return;
        WaitForSingleObject(last_, INFINITE);
        CloseHandle(last_);
        last_ = nullptr;
    }

private:
    static ProcessControl& real() { return systemProcesses(); }
    HANDLE last_ = nullptr;
};

class BenchActions final : public Win32Actions {
public:
    bool confirmLaunch(const TaskRecord&, const char*) override { return true; }
    void showLaunchError(const TaskRecord&, const char*, std::uint32_t error) override {
        std::fprintf(stderr, "launch failed: %u\n", static_cast<unsigned>(error));
    }
    void showMessage(const char*) override {}
    void reportScheduleError(ScheduleError, const char*, std::uint32_t) override {}
    ProcessControl& processes() override { return watched; }
    WatchedProcesses watched;
};

std::string folderOfThisProgram() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string tempFolder() {
    char path[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, path);
    std::string folder = std::string(path) + "kzo-bench-history-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

RunEvent sampleEvent() {
    RunEvent e;
    e.time = e.started = e.pass = launchTimeAt(2026, 12, 8, 14, 5, 1);
    e.task = "Nightly backup of the documents";
    e.outcome = RunOutcome::Exited;
    e.hasCode = true;
    e.code = 3;
    e.durationMs = 12345;
    return e;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    std::string folder = tempFolder();
    std::string history = folder + "bench.jsf.history";
    std::string stamps = folder + "stamps.txt";

    BenchActions actions;
    LaunchRequest request;
    request.task = newTaskRecord(1);
    setField(request.task.name, "Stamp");
    std::string command = "\"" + folderOfThisProgram() + "start_stamp.exe\" \"" + stamps + "\"";
    setField(request.task.command, command);
    request.time = launchTimeAt(2026, 12, 8, 14, 5, 1);

    // One launch of each kind first, so that neither pays for the first start.
    auto without = [&] {
        request.history.clear();
        runLaunch(request, actions);
        actions.watched.waitForLast();
    };
    auto with = [&] {
        request.history = history;
        runLaunch(request, actions);
        actions.watched.waitForLast();
    };
    without();
    with();
    std::vector<double> withoutMs, withMs;
    for (int i = 0; i < runs; ++i) {
        withoutMs.push_back(timeOnce(without));
        withMs.push_back(timeOnce(with));
    }

    std::string line = formatHistoryLine(sampleEvent());
    std::string appendFile = folder + "append.history";
    DeleteFileA(appendFile.c_str());
    double append = timed([&] { appendHistory(appendFile, line); }, runs * 10);

    std::string full;
    while (full.size() + line.size() <= kHistoryLimitBytes) full += line;
    std::string rotateFile = folder + "rotate.history";
    std::vector<double> rotateMs;
    for (int i = 0; i < runs; ++i) {
        HANDLE file = CreateFileA(rotateFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, full.data(), static_cast<DWORD>(full.size()), &written, nullptr);
        CloseHandle(file);
        rotateMs.push_back(timeOnce([&] { appendHistory(rotateFile, line); }));
    }

    double launchWithout = median(withoutMs), launchWith = median(withMs);
    std::printf("Run history: the cost of a launch (median of %d, milliseconds)\n", runs);
    std::printf("  %-52s %10.3f\n", "launch to the program's end, without the history", launchWithout);
    std::printf("  %-52s %10.3f\n", "launch to the program's end, with the history", launchWith);
    std::printf("  %-52s %+10.3f (%+.1f%%)\n", "difference", launchWith - launchWithout,
                100.0 * (launchWith - launchWithout) / launchWithout);
    std::printf("  %-52s %10.3f\n", "one line appended (exclusive open, write, close)", append);
    std::printf("  %-52s %10.3f\n", "one line appended past 256 KB (lines moved to .1)", median(rotateMs));

    for (const char* name : {"bench.jsf.history", "bench.jsf.history.1", "stamps.txt", "append.history",
                             "append.history.1", "rotate.history", "rotate.history.1"})
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
