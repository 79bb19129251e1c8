#include "next_run_text.h"

#include <cstdio>

#include "hour_format.h"

namespace kzo {

std::string nextRunWords(const NextRun& next, SchedulerRole role, bool ampm) {
    switch (next.kind) {
    case NextRunKind::At:
        break;
    case NextRunKind::AtStartup:
        return role == SchedulerRole::System ? "at system startup" : "at user logon";
    case NextRunKind::Inactive:
        return "none, the task is inactive";
    case NextRunKind::NoneWithinYear:
        return "none within a year";
    }
    static const char* const kWeekdays[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const LaunchTime& t = next.when;
    const char* weekday = t.weekday >= 1 && t.weekday <= 7 ? kWeekdays[t.weekday - 1] : "";
    int hour = t.hour;
    const char* half = "";
    if (ampm) {
        TwelveHour shown = toTwelveHour(t.hour);
        hour = shown.hour;
        half = shown.pm ? "PM" : "AM";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s %02d.%02d.%04d %02d:%02d%s", weekday, static_cast<int>(t.day),
                  static_cast<int>(t.month), static_cast<int>(t.year), hour, static_cast<int>(t.minute), half);
    return text;
}

std::string nextRunText(const NextRun& next, SchedulerRole role, bool ampm) {
    return "Next run: " + nextRunWords(next, role, ampm);
}

std::string nextRunText(const TaskRecord& record, const LaunchTime& now, SchedulerRole role,
                        bool ampm, const ZoneRule* zone) {
    DueContext from;
    from.now = followingMinute(now);
    from.role = role;
    from.zone = zone;
    return nextRunText(findNextRun(record, from), role, ampm);
}

}  // namespace kzo
