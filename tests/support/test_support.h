// Helpers shared by the tests: unique names, waits, scratch folders and files
// in the Wine prefix, records built field by field, and the task fixture.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "task_record.h"

namespace kzo::test {

// The stem followed by this process's id and a serial number: a name that no
// other test, nor another test program, uses at the same time.
std::string uniqueName(const std::string& stem);

// Milliseconds of a monotonic clock.
std::uint64_t nowMs();

// Polls condition every pollMs until it holds or timeoutMs have passed; the
// last answer.
bool waitUntil(const std::function<bool()>& condition, std::uint32_t timeoutMs = 10000,
               std::uint32_t pollMs = 20);

std::string quoted(const std::string& text);

// The functions named are reported missing to the run-time lookups for the
// object's life, so that a test takes the fallbacks of the oldest systems.
class HiddenFunctions {
public:
    explicit HiddenFunctions(std::initializer_list<const char*> names);
    ~HiddenFunctions();
    HiddenFunctions(const HiddenFunctions&) = delete;
    HiddenFunctions& operator=(const HiddenFunctions&) = delete;
};

// A fresh folder under the temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
std::int64_t fileSize(const std::string& path);

// A record with the new-task defaults and the given name.
TaskRecord record(const std::string& name);
// A task due at once and every minute after: active on every day, a cycle of
// one minute, never run, not edited, no run later.
TaskRecord everyMinuteTask(const std::string& name, const std::string& command);

// The bytes of records laid end to end, as a schedule file holds them.
std::string scheduleBytes(const std::vector<TaskRecord>& records);
void writeSchedule(const std::string& path, const std::vector<TaskRecord>& records);
std::vector<TaskRecord> readSchedule(const std::string& path);

// Cuts the file to size from the Unix side, past the sharing rules of Wine: what
// a writer outside Windows (another system on a shared disk) could do while a
// reader holds the file.
void truncateFromOutside(const std::string& path, std::int64_t size);

// A program of the build tree, relative to the test program's folder
// ("..\\tray\\tickr.exe"), as a full path.
std::string buildTreeProgram(const std::string& relativePath);

// The task fixture program (tests/fixture) beside the running test program, and
// a command line that starts it with this marker file.
std::string fixturePath();
std::string fixtureCommand(const std::string& marker, const std::string& options = "--exit-after 4000");
// The fixture's marker file as key=value lines, once it holds "ready=1" (or
// empty after the deadline). A repeated key keeps its last value.
std::map<std::string, std::string> waitForMarker(const std::string& path, std::uint32_t timeoutMs = 10000,
                                                 const char* key = "ready");
// Ends a fixture process named by its marker, if it still runs.
void endFixture(const std::map<std::string, std::string>& marker);

}  // namespace kzo::test
