#include <cstdio>

#include "execution_log.h"

namespace kzo {

namespace {

const char* typePrefix(int type) {
    switch (type) {
        case kTypeDocument: return "DOC>";
        case kTypeMessage: return "MSG>";
        case kTypeShutdown: return "SDN>";
        default: return "";  // Application tasks, and types no Terminal writes
    }
}

}  // namespace

std::string formatLogLine(const TaskRecord& record, bool ampm) {
    int hour = record.lastHour;
    const char* suffix = "";
    if (ampm) {
        // Midnight is 12:00AM, noon 12:00PM.
        suffix = hour >= 12 ? "PM" : "AM";
        if (hour == 0)
            hour = 12;
        else if (hour > 12)
            hour -= 12;
    }
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "\" at %02d.%02d.%04lld %02d:%02d%s\r\n", record.lastDay,
                  record.lastMonth, static_cast<long long>(record.lastYear) + 1900, hour, record.lastMinute, suffix);

    std::string line = "Executed \"";
    line += fieldText(record.name);
    line += "\" : ";
    line += typePrefix(record.type);
    line += '"';
    line += fieldText(record.command);
    line += stamp;
    return line;
}

}  // namespace kzo
