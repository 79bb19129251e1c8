// The merge of a Terminal save over any two sets of tasks: no task of the
// Terminal's is lost or moved, each keeps everything of its own but the name's
// outer blanks, the last-run stamp of the first file task of its name (unless
// it is the task whose stamp was just reset) and, while it is not marked
// edited, that task's edited mark; the file's tasks stay as they were.
//
// Input: the counts (2 bytes), the reset task (1), then the Terminal's tasks
// and the file's tasks, a few bytes each (see taskRecord).
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "save_merge.h"

namespace {

using namespace kzo;

bool sameBytes(const TaskRecord& a, const TaskRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A name from a few tasks' names with 0 to 3 blanks around it; some are blanks
// only, one fills the field without a NUL.
void setName(TaskRecord& r, std::uint8_t b) {
    static const char* const kNames[] = {"Clock", "Backup", "Alarm", "", "Clock 2", "x", "clock", "FULL"};
    std::string name = std::string((b >> 3) & 3, ' ') + kNames[b & 7] + std::string((b >> 5) & 3, ' ');
    if (name.find("FULL") != std::string::npos) {
        std::memset(r.name, 'F', sizeof r.name);
        if (b & 0x80) r.name[0] = ' ';
        return;
    }
    setField(r.name, name);
}

TaskRecord taskRecord(fuzz::FuzzInput& input) {
    TaskRecord r = newTaskRecord(1);
    setName(r, input.byte());
    setField(r.command, "job " + std::to_string(input.byte()));
    const std::uint8_t flags = input.byte();
    r.edited = static_cast<std::int8_t>(flags & 3);
    r.active = static_cast<std::int8_t>((flags >> 2) & 1);
    r.lastYear = 100 + ((flags >> 3) & 31);
    r.lastDay = static_cast<std::int8_t>(input.byte());
    r.lastMonth = static_cast<std::int8_t>(input.byte());
    r.lastHour = static_cast<std::int8_t>(input.byte());
    r.lastMinute = static_cast<std::int8_t>(flags);
    r.lastSecond = static_cast<std::int8_t>(~flags);
    return r;
}

std::string_view key(const TaskRecord& r) { return nameKey(r); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::size_t memoryCount = input.byte() % 12;
    const std::size_t fileCount = input.byte() % 12;
    const std::size_t reset = input.byte();
    std::vector<TaskRecord> memory, file;
    for (std::size_t i = 0; i < memoryCount; ++i) memory.push_back(taskRecord(input));
    for (std::size_t i = 0; i < fileCount; ++i) file.push_back(taskRecord(input));
    const std::vector<TaskRecord> before = memory;
    const std::vector<TaskRecord> fileBefore = file;
    const TaskRecord* keepStamp = reset < memory.size() ? &memory[reset] : nullptr;

    mergeSavedFile(memory.data(), memory.size(), file.data(), file.size(), keepStamp);

    FUZZ_CHECK(memory.size() == before.size());
    for (std::size_t i = 0; i < file.size(); ++i) FUZZ_CHECK(sameBytes(file[i], fileBefore[i]));
    for (std::size_t i = 0; i < memory.size(); ++i) {
        const TaskRecord& was = before[i];
        const TaskRecord& now = memory[i];
        // The name: byte for byte when it has no outer blanks, else trimmed.
        FUZZ_CHECK(key(now) == key(was));
        if (key(was).size() == fieldLength(was.name))
            FUZZ_CHECK(std::memcmp(now.name, was.name, sizeof now.name) == 0);
        else
            FUZZ_CHECK(fieldText(now.name) == std::string(key(was)));

        // The file's first task of that name.
        const TaskRecord* match = nullptr;
        for (const TaskRecord& f : file) {
            if (!key(was).empty() && key(f) == key(was)) {
                match = &f;
                break;
            }
        }
        TaskRecord expected = was;
        std::memcpy(expected.name, now.name, sizeof expected.name);
        if (match) {
            if (i != reset) copyStamp(expected, *match);
            if (was.edited == 0) expected.edited = match->edited;
        }
        FUZZ_CHECK(sameBytes(expected, now));
    }
    return 0;
}
