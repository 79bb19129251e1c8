// The log line of any record, on both clocks: name and command come out as the
// record holds them (bounded by their fields), the type gives the prefix, and
// the stamp reads back as the record's last-run date and time.
//
// Input: the AMPM flag, then the record's 1709 bytes.
#include <cstdio>
#include <string>

#include "execution_log.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kzo;
    fuzz::FuzzInput input(data, size);
    bool ampm = input.byte() & 1;
    TaskRecord record = input.record();
    std::string line = formatLogLine(record, ampm);

    std::string name = fieldText(record.name);
    std::string command = fieldText(record.command);
    const char* prefix = record.type == kTypeDocument  ? "DOC>"
                         : record.type == kTypeMessage ? "MSG>"
                         : record.type == kTypeShutdown ? "SDN>"
                                                         : "";
    std::string head = "Executed \"" + name + "\" : " + prefix + "\"" + command + "\" at ";
    FUZZ_CHECK(line.compare(0, head.size(), head) == 0);
    FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);

    std::string stamp = line.substr(head.size(), line.size() - head.size() - 2);
    int day = 0, month = 0, hour = 0, minute = 0, used = 0;
    long long year = 0;
    FUZZ_CHECK(std::sscanf(stamp.c_str(), "%d.%d.%lld %d:%d%n", &day, &month, &year, &hour,
                           &minute, &used) == 5);
    FUZZ_CHECK(day == record.lastDay);
    FUZZ_CHECK(month == record.lastMonth);
    FUZZ_CHECK(year == static_cast<long long>(record.lastYear) + 1900);
    FUZZ_CHECK(minute == record.lastMinute);
    std::string suffix = stamp.substr(static_cast<std::size_t>(used));
    if (!ampm) {
        FUZZ_CHECK(suffix.empty());
        FUZZ_CHECK(hour == record.lastHour);
    } else {
        FUZZ_CHECK(suffix == (record.lastHour >= 12 ? "PM" : "AM"));
        if (record.lastHour >= 0 && record.lastHour <= 23) {
            FUZZ_CHECK(hour >= 1 && hour <= 12);
            FUZZ_CHECK(hour % 12 == record.lastHour % 12);
        }
    }
    return 0;
}
