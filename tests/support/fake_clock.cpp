#include "fake_clock.h"

#include <windows.h>

namespace kzo::test {

LaunchTime addSeconds(const LaunchTime& time, std::int64_t seconds) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(time.year);
    st.wMonth = static_cast<WORD>(time.month);
    st.wDay = static_cast<WORD>(time.day);
    st.wHour = static_cast<WORD>(time.hour);
    st.wMinute = static_cast<WORD>(time.minute);
    st.wSecond = static_cast<WORD>(time.second);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER ticks;
    ticks.LowPart = ft.dwLowDateTime;
    ticks.HighPart = ft.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(seconds * 10000000LL);
    ft.dwLowDateTime = ticks.LowPart;
    ft.dwHighDateTime = ticks.HighPart;
    FileTimeToSystemTime(&ft, &st);
    return launchTimeAt(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

void FakeClock::set(const LaunchTime& time, std::uint32_t milliseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    time_ = time;
    milliseconds_ = milliseconds;
}

void FakeClock::allowLongWaits(int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    longWaitsLeft_ = count;
}

void FakeClock::setLongWaitError(std::int32_t ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    longWaitError_ = ms;
}

std::vector<std::uint32_t> FakeClock::waits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}

void FakeClock::setZone(const ZoneRule& zone) {
    std::lock_guard<std::mutex> lock(mutex_);
    zone_ = zone;
}

LaunchTime FakeClock::systemTime() {
    std::lock_guard<std::mutex> lock(mutex_);
    return time_;
}

ZoneRule FakeClock::zoneRule() {
    std::lock_guard<std::mutex> lock(mutex_);
    return zone_;
}

LocalTime FakeClock::localTime() {
    std::lock_guard<std::mutex> lock(mutex_);
    return LocalTime{time_, milliseconds_};
}

std::uint64_t FakeClock::uptimeMs() {
    std::lock_guard<std::mutex> lock(mutex_);
    return uptime_;
}

bool FakeClock::waitOrStop(std::uint32_t ms, void* stopEvent) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waits_.push_back(ms);
        bool blocks = ms >= 3000 && longWaitsLeft_-- <= 0;
        if (!blocks) {
            std::int64_t waited = ms;
            if (ms >= 3000) waited += longWaitError_;
            std::uint64_t elapsed = milliseconds_ + static_cast<std::uint64_t>(waited < 0 ? 0 : waited);
            time_ = addSeconds(time_, static_cast<std::int64_t>(elapsed / 1000));
            milliseconds_ = static_cast<std::uint32_t>(elapsed % 1000);
            return stopEvent && WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
        }
    }
    return stopEvent && WaitForSingleObject(stopEvent, INFINITE) == WAIT_OBJECT_0;
}

}  // namespace kzo::test
