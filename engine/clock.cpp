#include "clock.h"

#include <windows.h>

#include "win_handles.h"

namespace kzo {

LocalTime SystemClock::localTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime local{};
    LaunchTime& t = local.time;
    t.second = st.wSecond;
    t.minute = st.wMinute;
    t.hour = st.wHour;
    t.day = st.wDay;
    t.month = st.wMonth;
    t.year = st.wYear;
    t.weekday = mondayFirstWeekday(st.wDayOfWeek);
    local.milliseconds = st.wMilliseconds;
    return local;
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
