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

void FakeClock::set(const LaunchTime& time) {
    std::lock_guard<std::mutex> lock(mutex_);
    time_ = time;
}

void FakeClock::allowLongWaits(int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    longWaitsLeft_ = count;
}

std::vector<std::uint32_t> FakeClock::waits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}

LaunchTime FakeClock::now() {
    std::lock_guard<std::mutex> lock(mutex_);
    return time_;
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
            time_ = addSeconds(time_, (ms + 999) / 1000);
            return stopEvent && WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
        }
    }
    return stopEvent && WaitForSingleObject(stopEvent, INFINITE) == WAIT_OBJECT_0;
}

}  // namespace kzo::test
