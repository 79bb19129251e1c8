#include "launch_stamp.h"

namespace kzo {

void stampLaunch(TaskRecord& r, const LaunchTime& t) {
    r.lastDay = static_cast<int8_t>(t.day);
    r.lastMonth = static_cast<int8_t>(t.month);
    r.lastYear = t.year - 1900;
    r.lastHour = static_cast<int8_t>(t.hour);
    r.lastMinute = static_cast<int8_t>(t.minute);
    r.lastSecond = static_cast<int8_t>(t.second);
    r.edited = 0;
    if (r.runOnce != kRunOnceNo) r.runOnce = kRunOnceLaunched;
}

bool stampedAt(const TaskRecord& r, const LaunchTime& t) {
    return r.lastDay == t.day && r.lastMonth == t.month &&
           static_cast<int64_t>(r.lastYear) + 1900 == t.year && r.lastHour == t.hour &&
           r.lastMinute == t.minute;
}

}  // namespace kzo
