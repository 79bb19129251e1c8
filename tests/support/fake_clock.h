// A clock the tests set: it answers the set time, to the millisecond; a wait
// advances it by the waited milliseconds and returns at once, except the minute
// sleeps of a loop thread beyond those allowed, which block until the loop is
// stopped.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "clock.h"

namespace kzo::test {

// The launch time a number of seconds later (dates roll over).
LaunchTime addSeconds(const LaunchTime& time, std::int64_t seconds);

// A time of the day the loop tests run on, Tuesday 2026-12-08.
inline LaunchTime at(int hour, int minute, int second = 1) {
    return launchTimeAt(2026, 12, 8, hour, minute, second);
}

class FakeClock final : public Clock {
public:
    explicit FakeClock(const LaunchTime& start) : time_(start) {}

    void set(const LaunchTime& time, std::uint32_t milliseconds = 0);
    // How many waits of 3 s or more return at once; later ones block until the
    // stop event is set.
    void allowLongWaits(int count);
    // Long waits that return end this many milliseconds late (early when
    // negative), as a real timer may.
    void setLongWaitError(std::int32_t ms);
    std::vector<std::uint32_t> waits() const;
    void setZone(const ZoneRule& zone);

    LocalTime localTime() override;
    // The set time: the fake's UTC is its local time.
    LaunchTime systemTime() override;
    ZoneRule zoneRule() override;
    std::uint64_t uptimeMs() override;
    bool waitOrStop(std::uint32_t ms, void* stopEvent) override;

private:
    mutable std::mutex mutex_;
    LaunchTime time_;
    std::uint32_t milliseconds_ = 0;
    std::uint64_t uptime_ = 3600000;
    int longWaitsLeft_ = 0;
    std::int32_t longWaitError_ = 0;
    std::vector<std::uint32_t> waits_;
    ZoneRule zone_;
};

}  // namespace kzo::test
