#include "write_back.h"

namespace kzo {

int writeBackLaunches(const char* scheduleFile, const ScheduleStore& passStore,
                      const LaunchTime& now, ScheduleStore& file) {
    return writeBackThrough(scheduleFile, passStore, now, file);
}

}  // namespace kzo
