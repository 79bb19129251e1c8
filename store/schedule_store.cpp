#include "schedule_store.h"

#include <windows.h>

#include <cassert>
#include <cstring>
#include <new>

#include "file_attributes.h"
#include "file_calls.h"
#include "retried_open.h"
#include "system_error.h"

namespace kzo {

namespace {

// Records are read in whole records, many at a time, straight into the array.
constexpr std::size_t kRecordsPerRead = 256;

HANDLE handleOf(void* file) { return static_cast<HANDLE>(file); }

// A read or write that failed or moved fewer bytes than asked: its error code.
int errorCode(DWORD fallback) { return static_cast<int>(lastErrorOr(fallback)); }

}  // namespace

bool DisplayFilter::accept(TaskRecord& record) const {
    record.edited = 0;
    return true;
}

ScheduleStore::ScheduleStore() : file_(INVALID_HANDLE_VALUE) {}

ScheduleStore::~ScheduleStore() { closeHandle(); }

void ScheduleStore::setFileName(const char* text) { expandEnvironment(text, fileName_); }

bool ScheduleStore::isOpen() const { return handleOf(file_) != INVALID_HANDLE_VALUE; }

int ScheduleStore::open(bool forWriting) {
    closeHandle();
    HANDLE h = INVALID_HANDLE_VALUE;
    int result = openRetried(fileName_, forWriting, h);
    if (result == kStoreOk) file_ = h;
    return result;
}

bool ScheduleStore::reserve(std::uint64_t fileSize) {
    std::uint64_t wanted = fileSize / kRecordSize + 1;
    if (capacity_ >= wanted) return true;
    records_.reset();
    count_ = 0;
    capacity_ = 0;
    if (wanted > SIZE_MAX / kRecordSize) return false;
    records_.reset(new (std::nothrow) TaskRecord[static_cast<std::size_t>(wanted)]);
    if (!records_) return false;
    capacity_ = static_cast<std::size_t>(wanted);
    return true;
}

int ScheduleStore::read(const RecordFilter& filter) {
    count_ = 0;
    std::uint64_t bytes = 0;
    if (!fileSize(handleOf(file_), bytes)) {
        int error = errorCode(ERROR_READ_FAULT);
        close();
        return error;
    }
    if (bytes % kRecordSize != 0) {
        close();
        return kStoreBadSize;
    }
    // An empty file stays open: whoever writes next writes through this
    // handle, with no moment in which another writer could come in between.
    if (bytes == 0) return kStoreEmpty;
    if (!reserve(bytes)) return kStoreNoMemory;
    SetFilePointer(handleOf(file_), 0, nullptr, FILE_BEGIN);

    TaskRecord overflow;  // a record beyond the capacity is read and dropped
    for (;;) {
        std::size_t space = capacity_ - count_;
        std::size_t want = space < kRecordsPerRead ? space : kRecordsPerRead;
        char* target = want ? reinterpret_cast<char*>(&records_[count_])
                            : reinterpret_cast<char*>(&overflow);
        DWORD asked = static_cast<DWORD>((want ? want : 1) * kRecordSize);
        DWORD got = 0;
        SetLastError(0);
        if (!ReadFile(handleOf(file_), target, asked, &got, nullptr)) {
            int error = errorCode(ERROR_READ_FAULT);
            close();
            return error;
        }
        if (got == 0) return kStoreOk;
        std::size_t whole = got / kRecordSize;
        if (want) keepAccepted(filter, whole);  // otherwise the store is full: dropped
        if (got % kRecordSize != 0) {
            // A read that ends inside a record: the whole records before it stay.
            int error = errorCode(ERROR_HANDLE_EOF);
            close();
            return error;
        }
    }
}

void ScheduleStore::keepAccepted(const RecordFilter& filter, std::size_t fresh) {
    std::size_t kept = count_;
    for (std::size_t i = count_; i < count_ + fresh; ++i) {
        if (!filter.accept(records_[i])) continue;
        if (kept != i) std::memcpy(&records_[kept], &records_[i], kRecordSize);
        ++kept;
    }
    count_ = kept;
}

int ScheduleStore::append(const TaskRecord& record) {
    if (count_ >= capacity_) return -1;
    std::memcpy(&records_[count_], &record, kRecordSize);
    ++count_;
    return 0;
}

bool ScheduleStore::makeSpareSlot() {
    if (count_ < capacity_) return true;
    std::size_t wanted = capacity_ + 1;
    std::unique_ptr<TaskRecord[]> grown(new (std::nothrow) TaskRecord[wanted]);
    if (!grown) return false;
    if (count_) std::memcpy(grown.get(), records_.get(), count_ * kRecordSize);
    records_ = std::move(grown);
    capacity_ = wanted;
    return true;
}

void ScheduleStore::takeFileFrom(ScheduleStore& other) {
    if (&other == this) return;
    closeHandle();
    file_ = other.file_;
    other.file_ = INVALID_HANDLE_VALUE;
}

TaskRecord* ScheduleStore::find(std::string_view name) {
    std::string_view key = withoutOuterBlanks(name);
    if (key.empty()) return nullptr;
    for (std::size_t i = 0; i < count_; ++i) {
        if (nameKey(records_[i]) == key) return &records_[i];
    }
    return nullptr;
}

int ScheduleStore::remove(std::string_view name) {
    TaskRecord* record = find(name);
    if (!record) return -1;
    TaskRecord* last = &records_[count_ - 1];
    if (record != last) std::memcpy(record, last, kRecordSize);
    --count_;
    return 0;
}

int ScheduleStore::write(bool skipLaunchedRunOnce) {
    HANDLE h = handleOf(file_);
    SetLastError(0);
    if (SetFilePointer(h, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != 0) {
        int error = errorCode(ERROR_WRITE_FAULT);
        close();
        return error;
    }
    // Contiguous runs of kept records go out in one call each.
    std::size_t i = 0;
    while (i < count_) {
        if (skipLaunchedRunOnce && records_[i].runOnce == kRunOnceLaunched) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < count_ && !(skipLaunchedRunOnce && records_[end].runOnce == kRunOnceLaunched))
            ++end;
        const char* from = reinterpret_cast<const char*>(&records_[i]);
        std::size_t left = (end - i) * kRecordSize;
        while (left) {
            DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
            DWORD written = 0;
            SetLastError(0);
            if (!WriteFile(h, from, chunk, &written, nullptr) || written != chunk) {
                int error = errorCode(ERROR_DISK_FULL);
                close();
                return error;
            }
            from += chunk;
            left -= chunk;
        }
        i = end;
    }
    // A file left longer than what was written would hold stale or duplicated
    // records, so a failed truncation is a failed write.
    if (!SetEndOfFile(h)) {
        int error = errorCode(ERROR_WRITE_FAULT);
        close();
        return error;
    }
    return kStoreOk;
}

void ScheduleStore::closeHandle() {
    if (isOpen()) CloseHandle(handleOf(file_));
    file_ = INVALID_HANDLE_VALUE;
}

void ScheduleStore::close() {
    closeHandle();
    if (fileName_[0]) makeAttributesNormal(fileName_);
}

void ScheduleStore::clear() {
    records_.reset();
    count_ = 0;
    capacity_ = 0;
}

TaskRecord& ScheduleStore::item(std::size_t index) {
    assert(index < count_);
    return records_[index];
}

const TaskRecord& ScheduleStore::item(std::size_t index) const {
    assert(index < count_);
    return records_[index];
}

}  // namespace kzo
