#include "clock.h"

#include <windows.h>

#include "win_handles.h"

namespace kzo {

namespace {

LaunchTime launchTimeOf(const SYSTEMTIME& st) {
    LaunchTime t{};
    t.second = st.wSecond;
    t.minute = st.wMinute;
    t.hour = st.wHour;
    t.day = st.wDay;
    t.month = st.wMonth;
    t.year = st.wYear;
    t.weekday = mondayFirstWeekday(st.wDayOfWeek);
    return t;
}

// A change as the system gives it: a date of that year only when wYear is set,
// otherwise the wDay-th wDayOfWeek of the month every year (5: the last). A
// time with seconds (23:59:59.999 stands for midnight) is taken at the next
// minute.
ZoneChange zoneChangeOf(const SYSTEMTIME& st) {
    ZoneChange c;
    c.month = st.wMonth;
    c.week = st.wDay;
    c.weekday = st.wDayOfWeek;
    c.year = st.wYear;
    c.minute = st.wHour * 60 + st.wMinute + (st.wSecond || st.wMilliseconds ? 1 : 0);
    return c;
}

}  // namespace

LocalTime SystemClock::localTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LocalTime{launchTimeOf(st), st.wMilliseconds};
}

LaunchTime SystemClock::systemTime() {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return launchTimeOf(st);
}

ZoneRule SystemClock::zoneRule() {
    TIME_ZONE_INFORMATION zone;
    ZoneRule rule;
    DWORD id = GetTimeZoneInformation(&zone);
    if (id == TIME_ZONE_ID_INVALID) return rule;
    // A damaged zone whose biases reach beyond a day is taken as none.
    for (LONG minutes : {zone.Bias, zone.StandardBias, zone.DaylightBias})
        if (minutes < -24 * 60 || minutes > 24 * 60) return rule;
    rule.bias = zone.Bias + zone.StandardBias;
    // No daylight time: the zone has none, or the system is told not to
    // adjust the clock for it.
    if (id == TIME_ZONE_ID_UNKNOWN || zone.DaylightDate.wMonth == 0) return rule;
    rule.shift = zone.StandardBias - zone.DaylightBias;
    rule.toDaylight = zoneChangeOf(zone.DaylightDate);
    rule.toStandard = zoneChangeOf(zone.StandardDate);
    return rule;
}

std::uint64_t SystemClock::uptimeMs() {
    // GetTickCount wraps after 49.7 days, which would make a long-running system
    // look freshly started; the 64-bit count exists from Vista on.
    using TickCount64 = ULONGLONG(WINAPI*)();
    static const TickCount64 tickCount64 =
        boundFunction<TickCount64>(GetModuleHandleA("kernel32"), "GetTickCount64");
    return tickCount64 ? tickCount64() : GetTickCount();
}

bool SystemClock::waitOrStop(std::uint32_t ms, void* stopEvent) {
    if (!stopEvent) {
        Sleep(ms);
        return false;
    }
    return WaitForSingleObject(static_cast<HANDLE>(stopEvent), ms) == WAIT_OBJECT_0;
}

}  // namespace kzo
