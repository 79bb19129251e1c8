// Helpers shared by the tests: scratch folders and files in the Wine prefix,
// and records built field by field.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "task_record.h"

namespace kzo::test {

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

// A fresh registry key under HKEY_CURRENT_USER\Software\KZOTest, removed with
// everything under it. Settings tests read and write there instead of the
// production keys.
class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The path below HKEY_CURRENT_USER, and paths of keys inside it.
    const std::string& path() const { return path_; }
    std::string sub(const std::string& name) const { return path_ + "\\" + name; }

    // A subkey under which no ordinary key can be created: it is volatile, and
    // a volatile key takes only volatile children (error 1021).
    std::string volatileSub(const std::string& name) const;

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
std::int64_t fileSize(const std::string& path);

// A record with the new-task defaults and the given name.
TaskRecord record(const std::string& name);

// The bytes of records laid end to end, as a schedule file holds them.
std::string scheduleBytes(const std::vector<TaskRecord>& records);
void writeSchedule(const std::string& path, const std::vector<TaskRecord>& records);
std::vector<TaskRecord> readSchedule(const std::string& path);

// Cuts the file to size from the Unix side, past the sharing rules of Wine: what
// a writer outside Windows (another system on a shared disk) could do while a
// reader holds the file.
void truncateFromOutside(const std::string& path, std::int64_t size);

// The task fixture program (tests/fixture) beside the running test program.
std::string fixturePath();
// The fixture's marker file as key=value lines, once it holds "ready=1" (or
// empty after the deadline). A repeated key keeps its last value.
std::map<std::string, std::string> waitForMarker(const std::string& path, std::uint32_t timeoutMs = 10000);
// Ends a fixture process named by its marker, if it still runs.
void endFixture(const std::map<std::string, std::string>& marker);

// Milliseconds of a monotonic clock.
std::uint64_t nowMs();

}  // namespace kzo::test
