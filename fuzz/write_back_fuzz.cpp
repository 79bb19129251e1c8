// The executor's write-back through an in-memory stand-in of the schedule
// store: a pass store whose records the pass launched (stamped) or not, a file
// that the Terminal may have changed since (other order, other records, names
// with blanks around them), and every way the file can fail. Every launched
// stamp reaches the file's records of that name, every launched run-once task
// leaves the file, everything else stays byte for byte, and a failure leaves
// the file as it was and never open.
//
// Input: the launch time (8 bytes), the file's state, then the pass records
// and the file records, each described by a few bytes (see below).
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "launch_stamp.h"
#include "write_back.h"

namespace {

using namespace kzo;

// How the stand-in's file behaves.
enum class FileState { Normal, Empty, Damaged, OpenFails, ReadFails, WriteFails };
constexpr int kStates = 6;
constexpr int kOpenError = 32;   // sharing violation
constexpr int kReadError = 30;   // read fault
constexpr int kWriteError = 112; // disk full

// The schedule file in memory, with the schedule store's operations as the
// write-back uses them: a read or write that fails, and a read that finds the
// file damaged, close the file, as the store's do; an empty file stays open
// for the write, as the store's does.
class MemoryStore {
public:
    MemoryStore(std::vector<TaskRecord> onDisk, FileState state)
        : onDisk(std::move(onDisk)), state_(state) {}

    void setFileName(const char*) {}
    int open(bool forWriting) {
        FUZZ_CHECK(forWriting);
        FUZZ_CHECK(!open_);
        if (state_ == FileState::OpenFails) return kOpenError;
        open_ = true;
        return kStoreOk;
    }
    int read(const RecordFilter& filter) {
        FUZZ_CHECK(open_);
        records_.clear();
        if (state_ == FileState::Damaged) return closed(kStoreBadSize);
        if (onDisk.empty()) return kStoreEmpty;  // stays open for the write
        for (TaskRecord r : onDisk) {
            // Fails halfway: the records before the failure stay.
            if (state_ == FileState::ReadFails && records_.size() == onDisk.size() / 2)
                return closed(kReadError);
            if (filter.accept(r)) records_.push_back(r);
        }
        return kStoreOk;
    }
    int write(bool skipLaunchedRunOnce) {
        FUZZ_CHECK(open_);
        FUZZ_CHECK(skipLaunchedRunOnce);
        if (state_ == FileState::WriteFails) return closed(kWriteError);
        onDisk.clear();
        for (const TaskRecord& r : records_)
            if (r.runOnce != kRunOnceLaunched) onDisk.push_back(r);
        return kStoreOk;
    }
    void close() { open_ = false; }
    std::size_t count() const { return records_.size(); }
    TaskRecord& item(std::size_t i) { return records_.at(i); }
    bool isOpen() const { return open_; }

    std::vector<TaskRecord> onDisk;

private:
    int closed(int result) {
        open_ = false;
        return result;
    }
    FileState state_;
    bool open_ = false;
    std::vector<TaskRecord> records_;
};

// The pass store as the write-back reads it.
class PassRecords {
public:
    explicit PassRecords(std::vector<TaskRecord> records) : records_(std::move(records)) {}
    std::size_t count() const { return records_.size(); }
    const TaskRecord& item(std::size_t i) const { return records_.at(i); }

private:
    std::vector<TaskRecord> records_;
};

// A name from a few tasks' names, with 0 to 3 blanks before and after it;
// some are blanks only.
std::string nameFrom(std::uint8_t b) {
    static const char* const kNames[] = {"Clock", "Backup", "Alarm", "", "Clock 2", "x", "clock", ""};
    return std::string((b >> 3) & 3, ' ') + kNames[b & 7] + std::string((b >> 5) & 3, ' ');
}

TaskRecord taskRecord(fuzz::FuzzInput& input) {
    TaskRecord r = newTaskRecord(1);
    setField(r.name, nameFrom(input.byte()));
    setField(r.command, "job " + std::to_string(input.byte()));
    std::uint8_t flags = input.byte();
    r.runOnce = static_cast<std::int8_t>(flags & 3);  // 3: a byte no Terminal writes
    r.edited = static_cast<std::int8_t>((flags >> 2) & 1);
    // An earlier run: a minute, an hour or a day before, or never.
    r.lastYear = (flags >> 3) & 1 ? 0 : 126;
    r.lastDay = static_cast<std::int8_t>(1 + (flags >> 4) % 28);
    r.lastMonth = static_cast<std::int8_t>(1 + input.byte() % 12);
    r.lastHour = static_cast<std::int8_t>(input.byte() % 24);
    r.lastMinute = static_cast<std::int8_t>(input.byte() % 60);
    return r;
}

bool sameBytes(const TaskRecord& a, const TaskRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The file as the write-back must leave it, found plainly: each file record
// takes what the first pass record of its name (blanks left out on both sides,
// blanks only matching nothing) got from a launch in this minute.
std::vector<TaskRecord> expectedFile(const std::vector<TaskRecord>& file,
                                     const std::vector<TaskRecord>& pass, const LaunchTime& now) {
    std::vector<TaskRecord> out;
    for (TaskRecord f : file) {
        std::string key = trimmedName(f);
        const TaskRecord* match = nullptr;
        for (const TaskRecord& p : pass) {
            if (!key.empty() && trimmedName(p) == key) {
                match = &p;
                break;
            }
        }
        if (match && stampedAt(*match, now)) {
            copyStamp(f, *match);
            f.edited = 0;
            f.runOnce = match->runOnce;
        }
        if (f.runOnce != kRunOnceLaunched) out.push_back(f);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    LaunchTime now = input.clockTime();
    now.year = 2026;  // the records' earlier runs are of this year
    now.weekday = weekdayOf(now.year, now.month, now.day);
    if (now.month == 2 && now.day > 28) now.day = 28;
    FileState state = static_cast<FileState>(input.byte() % kStates);
    std::size_t passCount = input.byte() % 10;
    std::size_t fileCount = input.byte() % 14;

    // The pass store: the records kept at the reload, some launched in this pass.
    std::vector<TaskRecord> pass;
    for (std::size_t i = 0; i < passCount; ++i) {
        TaskRecord r = taskRecord(input);
        if (input.byte() & 1) stampLaunch(r, now);
        pass.push_back(r);
    }
    // The file now: the Terminal may have saved since the reload.
    std::vector<TaskRecord> file;
    for (std::size_t i = 0; i < fileCount; ++i) {
        std::uint8_t how = input.byte();
        if ((how & 1) && !pass.empty()) {
            // A pass task as the file holds it: its name with other blanks, or
            // the Terminal's edits of it.
            TaskRecord r = pass[(how >> 1) % pass.size()];
            if (how & 0x40) setField(r.name, std::string(how >> 7, ' ') + trimmedName(r) + " ");
            if (how & 0x80) setField(r.command, "edited");
            r.lastYear = 0;  // the file does not hold this pass's stamps yet
            if (r.runOnce == kRunOnceLaunched) r.runOnce = kRunOnceYes;
            file.push_back(r);
        } else {
            file.push_back(taskRecord(input));
        }
    }
    if (state == FileState::Empty) file.clear();

    MemoryStore store(file, state);
    int result = writeBackThrough("C:\\Tasks\\user.jsf", PassRecords(pass), now, store);
    FUZZ_CHECK(!store.isOpen());

    switch (state) {
        case FileState::OpenFails: FUZZ_CHECK(result == kOpenError); break;
        case FileState::Damaged: FUZZ_CHECK(result == kStoreBadSize); break;
        case FileState::ReadFails: FUZZ_CHECK(result == (file.empty() ? kStoreOk : kReadError)); break;
        case FileState::WriteFails: FUZZ_CHECK(result == kWriteError); break;
        default: FUZZ_CHECK(result == kStoreOk); break;
    }
    if (result != kStoreOk) {
        // Nothing written: the stamps live on in the pass store.
        FUZZ_CHECK(store.onDisk.size() == file.size());
        for (std::size_t i = 0; i < file.size(); ++i) FUZZ_CHECK(sameBytes(store.onDisk[i], file[i]));
        return 0;
    }

    std::vector<TaskRecord> expected = expectedFile(file, pass, now);
    FUZZ_CHECK(store.onDisk.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) FUZZ_CHECK(sameBytes(store.onDisk[i], expected[i]));

    // The promises in the words of the pass: for a task stamped in this minute
    // whose name no earlier pass record shares, its stamp is in every file
    // record of its name, and a launched run-once task is in the file no more.
    for (std::size_t i = 0; i < pass.size(); ++i) {
        const TaskRecord& p = pass[i];
        std::string key = trimmedName(p);
        if (key.empty() || !stampedAt(p, now)) continue;
        bool first = true;
        for (std::size_t k = 0; k < i; ++k) first = first && trimmedName(pass[k]) != key;
        if (!first) continue;
        for (const TaskRecord& f : store.onDisk) {
            if (trimmedName(f) != key) continue;
            FUZZ_CHECK(p.runOnce != kRunOnceLaunched);
            FUZZ_CHECK(stampedAt(f, now));
            FUZZ_CHECK(f.lastSecond == p.lastSecond);
            FUZZ_CHECK(f.edited == 0);
        }
        if (p.runOnce == kRunOnceLaunched) {
            for (const TaskRecord& f : store.onDisk) FUZZ_CHECK(trimmedName(f) != key);
        }
    }
    return 0;
}
