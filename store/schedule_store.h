// The schedule store: the in-memory records of one schedule file, with the
// file's handle and expanded name. Every program uses it: the Terminal's document
// and the executors' time-control loop.
//
// The file is nothing but whole task records. There is no lock file: writers open
// exclusively, readers with shared read, both with retries, and both sides merge
// before they write (the executor's write-back keeps the Terminal's edits, the
// Terminal's save keeps the executor's last-run stamps).
//
// A store is used by one thread at a time; it has no lock of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "expand_env.h"
#include "task_record.h"

namespace kzo {

// Result codes of the file operations. A positive value is the system's error
// code of the failed open, read or write.
constexpr int kStoreOk = 0;
constexpr int kStoreBadSize = -1;   // size not a multiple of 1709 (older format or damaged)
constexpr int kStoreEmpty = -2;     // the file is empty: a valid schedule without tasks
constexpr int kStoreNoMemory = -3;  // no memory for the records

// Decides, record by record, what a read keeps. It may change the record.
class RecordFilter {
public:
    virtual bool accept(TaskRecord& record) const = 0;

protected:
    ~RecordFilter() = default;
};

// The Terminal's load for display: keeps everything, clearing edited marks.
class DisplayFilter final : public RecordFilter {
public:
    bool accept(TaskRecord& record) const override;
};

// The re-reads of a save or a write-back: keeps everything unchanged.
class UnchangedFilter final : public RecordFilter {
public:
    bool accept(TaskRecord&) const override { return true; }
};

// Text without the blanks (' ' only) at either end, as a view into it.
inline std::string_view withoutOuterBlanks(std::string_view text) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// A record's name as every search by name compares it: the name field without
// the blanks at either end, a view into the record. Names reach a file with
// blanks around them from hand edits and converted old files; the record keeps
// them, only the comparison leaves them out. Empty for a name of blanks only.
inline std::string_view nameKey(const TaskRecord& record) {
    return withoutOuterBlanks(std::string_view(record.name, fieldLength(record.name)));
}

class ScheduleStore {
public:
    ScheduleStore();
    ~ScheduleStore();
    ScheduleStore(const ScheduleStore&) = delete;
    ScheduleStore& operator=(const ScheduleStore&) = delete;

    // Expands %NAME% references into the file name (at most 2599 characters);
    // a failed expansion keeps the text as given.
    void setFileName(const char* text);
    const char* fileName() const { return fileName_; }

    // Opens the named file, creating it when missing. For writing: read and write
    // access, no sharing; otherwise read access, shared read. Up to 8 attempts,
    // the read-only, hidden and system attributes cleared before each, 1000 ms
    // pauses after the 3rd and the 6th failure. Returns 0 or the error code of
    // the last attempt.
    int open(bool forWriting);

    // Makes room for fileSize / 1709 + 1 records: one spare slot, so that exactly
    // one record can be appended after a load. When the capacity is short the old
    // records are released first. Returns false (capacity and count 0) when the
    // memory cannot be had.
    bool reserve(std::uint64_t fileSize);

    // Reads the open file's records through the filter into an emptied store.
    // 0, -2 (empty) and -3: the file stays open. -1 and errors: the file has
    // been closed. A short or failed read keeps the records before it.
    int read(const RecordFilter& filter);

    // Copies the record behind the last one; -1 (not stored) when the store is full.
    int append(const TaskRecord& record);
    // Makes room for one more record, keeping the records held (a store that a
    // failed load left without its spare slot). False when the memory cannot
    // be had; the records are then unchanged.
    bool makeSpareSlot();

    // Takes over the open file of other (which is left closed, its file's
    // attributes untouched): a save reads the file into a second store and
    // writes its own records through the same exclusive handle.
    void takeFileFrom(ScheduleStore& other);

    // The first record whose name equals name, both compared without the blanks
    // at either end (nameKey) and case-sensitive, or nullptr. A name of blanks
    // only finds nothing.
    TaskRecord* find(std::string_view name);

    // Removes the record find(name) finds by moving the last record into its
    // place. -1 when there is none, else 0.
    int remove(std::string_view name);

    // Writes the records in order from the start of the file and truncates it
    // there. With skipLaunchedRunOnce (the executors) records whose run-once byte
    // is 2 are left out. 0 with the file still open, or the error code with the
    // file closed.
    int write(bool skipLaunchedRunOnce);

    // Closes the handle and clears the file's read-only, hidden and system
    // attributes.
    void close();

    // Releases the records: count and capacity become 0.
    void clear();
    // Drops the records but keeps their memory for the next read: a reload of
    // a large schedule then costs no page faults.
    void empty() { count_ = 0; }

    std::size_t count() const { return count_; }
    std::size_t capacity() const { return capacity_; }
    bool isOpen() const;
    TaskRecord& item(std::size_t index);
    const TaskRecord& item(std::size_t index) const;

private:
    void closeHandle();
    // Runs the filter over the fresh records just read behind the kept ones,
    // moving the accepted ones down.
    void keepAccepted(const RecordFilter& filter, std::size_t fresh);

    std::unique_ptr<TaskRecord[]> records_;
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
    void* file_;  // HANDLE; INVALID_HANDLE_VALUE when closed
    char fileName_[kExpandedSize] = {};
};

}  // namespace kzo
