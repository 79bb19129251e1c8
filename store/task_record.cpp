#include "task_record.h"

#include <cstdio>
#include <cstring>

#include "blanks.h"

namespace kzo {

TaskRecord newTaskRecord(int taskNumber) {
    TaskRecord record;
    std::memset(&record, 0, sizeof record);
    std::snprintf(record.name, sizeof record.name, "Task %d", taskNumber);
    record.active = 1;
    record.type = kTypeApplication;
    record.time = 0;
    record.runLater = 1;
    record.intervalStart = 0;
    record.intervalEnd = kLastMinuteOfDay;
    record.months = 0;
    record.edited = 1;
    record.lastDay = 1;
    record.lastMonth = 1;
    record.lastYear = 0;
    return record;
}

void copyStamp(TaskRecord& to, const TaskRecord& from) {
    std::memcpy(&to.lastDay, &from.lastDay, kStampSize);
}

std::string trimmedName(const TaskRecord& record) {
    return trimBlanks(fieldText(record.name));
}

}  // namespace kzo
