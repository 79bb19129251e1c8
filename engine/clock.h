// The clock seam of the time-control loop: a pass is a function of its launch
// time (and, for daylight saving time, of the system time in UTC and the zone's
// rule), and the loop's waits end early when it is asked to stop.
#pragma once

#include <cstdint>

#include "daylight_saving.h"
#include "launch_time.h"

namespace kzo {

// The local time with its milliseconds: the loop aims its waits at the
// millisecond, while a pass only ever sees the launch time.
struct LocalTime {
    LaunchTime time;
    std::uint32_t milliseconds;  // 0..999
};

class Clock {
public:
    virtual ~Clock() = default;
    // The local time, read in one go.
    virtual LocalTime localTime() = 0;
    // The system time in UTC (its weekday too).
    virtual LaunchTime systemTime() = 0;
    // The daylight saving rule of the system's time zone (shift 0 when the
    // zone has none or the system does not apply it).
    virtual ZoneRule zoneRule() = 0;
    // Milliseconds since the system started.
    virtual std::uint64_t uptimeMs() = 0;
    // Waits ms milliseconds or until the stop event (a HANDLE) is set; true when
    // it was set.
    virtual bool waitOrStop(std::uint32_t ms, void* stopEvent) = 0;

    // The local time without its milliseconds, as a pass reads it.
    LaunchTime now() { return localTime().time; }
};

// The system's clock.
class SystemClock final : public Clock {
public:
    LocalTime localTime() override;
    LaunchTime systemTime() override;
    ZoneRule zoneRule() override;
    std::uint64_t uptimeMs() override;
    bool waitOrStop(std::uint32_t ms, void* stopEvent) override;
};

}  // namespace kzo
