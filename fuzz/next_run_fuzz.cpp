// The date gate's last-day item and the next-run search across the clock's
// daylight saving changes, each against a plain reading: the gate against the
// list read item by item with the month's length counted here, the search
// against a walk minute by minute that knows where the zone's clock jumps.
//
// Input: the zone (a byte: none, Central Europe, North American Eastern, or a
// rule read from the next bytes), the moment (eight bytes, and a byte that
// moves it to just before one of the zone's changes), a record's schedule
// (twelve bytes), then the days-of-month text (the rest, or a chosen list).
#include <algorithm>
#include <string>

#include "days_of_month.h"
#include "due_rule.h"
#include "fuzz_input.h"
#include "minute_walk.h"
#include "next_run.h"
#include "zones.h"

namespace {

using namespace kzo;

ZoneChange readChange(fuzz::FuzzInput& in) {
    ZoneChange c;
    c.month = in.byte() % 13;
    c.week = in.byte() % 6;
    c.weekday = in.byte() % 7;
    c.minute = in.number<std::uint16_t>() % 1441;
    c.year = (in.byte() % 8 == 0) ? 2000 + in.byte() % 100 : 0;
    return c;
}

ZoneRule readZone(fuzz::FuzzInput& in, bool& present) {
    ZoneRule z;
    present = true;
    switch (in.byte() % 4) {
    case 0:
        present = false;
        break;
    case 1: z = test::europeanZone(); break;
    case 2: z = test::northAmericanZone(); break;
    default:
        z.bias = in.number<std::int16_t>() % 900;
        z.shift = in.byte() % 121;
        z.toDaylight = readChange(in);
        z.toStandard = readChange(in);
        // The two changes fall in different months, as in every zone.
        if (z.toDaylight.month != 0) z.toStandard.month = (z.toDaylight.month + in.byte() % 11) % 12 + 1;
        break;
    }
    return z;
}

// A day or two before a day of the year on which the zone's clock changes.
LaunchTime nearAChange(const ZoneRule& zone, LaunchTime t, int daysBefore) {
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= daysInMonth(t.year, month); ++day) {
            DayChange c = clockChangeOn(zone, t.year, month, day);
            if (c.skipped.empty() && c.repeated.empty()) continue;
            int from = std::max(1, day - daysBefore);
            return launchTimeAt(t.year, month, from, t.hour, t.minute, 0);
        }
    return t;
}

TaskRecord readSchedule(fuzz::FuzzInput& in, const LaunchTime& now) {
    TaskRecord r{};
    r.active = 1;
    r.weekdays = static_cast<std::int8_t>(in.byte() % 4 == 0 ? in.byte() & 0x7F : 0);
    r.months = in.byte() % 4 == 0 ? static_cast<std::int32_t>(in.number<std::uint16_t>() & 0xFFF) : 0;
    const int kind = in.byte() % 4;
    r.cycle = kind == 3;
    const std::uint16_t t = in.number<std::uint16_t>();
    r.time = kind == 0 ? t % 1440 : kind == 1 ? kTimeEveryHour + t % 60 : kind == 2 ? kTimeStartup : 1 + t % 3000;
    r.runLater = in.byte() & 1;
    r.edited = in.byte() % 8 == 0;
    const std::uint16_t interval = in.number<std::uint16_t>();
    if (interval % 3 == 0) {
        r.intervalStart = interval % 1440;
        r.intervalEnd = std::min(1439, r.intervalStart + (interval >> 4) % 1440);
        r.invert = interval & 1;
    } else {
        r.intervalEnd = kLastMinuteOfDay;
    }
    // The last run: never, or a little before the moment.
    if (in.byte() % 4 != 0) {
        LaunchTime last = now;
        const int back = in.byte() % 3;
        last.day = std::max(1, now.day - back);
        r.lastYear = now.year - 1900;
        r.lastMonth = static_cast<std::int8_t>(now.month);
        r.lastDay = static_cast<std::int8_t>(last.day);
        r.lastHour = static_cast<std::int8_t>(in.byte() % 24);
        r.lastMinute = static_cast<std::int8_t>(in.byte() % 60);
    }
    static const char* const kLists[] = {"", "L", "l", "15,L", "LL", "L5", "28,29,30,31", "05", "L,01", " l ; 31"};
    const int list = in.byte() % 11;
    setField(r.daysOfMonth, list < 10 ? std::string(kLists[list]) : std::string(in.rest()));
    return r;
}

// The date gate read plainly: the weekday, the two-digit day anywhere in the
// text, or an item "L" (blanks dropped, "," and ";" between items) on the day
// whose next day is the 1st.
bool plainDateGate(const TaskRecord& r, const LaunchTime& t) {
    if (!r.active) return false;
    if (r.months != 0 && !(static_cast<std::uint32_t>(r.months) & (1u << (t.month - 1)))) return false;
    if (r.weekdays & (1 << (t.weekday - 1))) return true;
    const std::string text = fieldText(r.daysOfMonth);
    char day[3] = {static_cast<char>('0' + t.day / 10), static_cast<char>('0' + t.day % 10), 0};
    if (text.find(day) != std::string::npos) return true;
    LaunchTime next = followingMinute(launchTimeAt(t.year, t.month, t.day, 23, 59));
    if (next.day != 1) return false;
    std::string item;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        char c = i < text.size() ? text[i] : ',';
        if (c == ',' || c == ';') {
            if (item == "L" || item == "l") return true;
            item.clear();
        } else if (c != ' ') {
            item += c;
        }
    }
    return false;
}

bool sameMinute(const LaunchTime& a, const LaunchTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    bool zoned = false;
    const ZoneRule zone = readZone(input, zoned);
    LaunchTime now = input.clockTime();
    now.year = 1970 + (now.year - 1601) % 130;  // years the calendar walk and the zones know
    now = launchTimeAt(now.year, now.month, std::min<int>(now.day, daysInMonth(now.year, now.month)), now.hour,
                       now.minute, 0);
    const std::uint8_t nearness = input.byte();
    if (zoned && nearness % 2 == 0) now = nearAChange(zone, now, nearness / 2 % 3);
    const TaskRecord record = readSchedule(input, now);

    // The date gate, through the day filter of a cycle task (kept on every day
    // its date passes), on the moment's day, the last of its month and the one
    // before.
    TaskRecord gated = record;
    gated.cycle = 1;
    gated.time = 1;
    const int last = daysInMonth(now.year, now.month);
    for (int day : {static_cast<int>(now.day), last, last - 1}) {
        DueContext c;
        c.now = launchTimeAt(now.year, now.month, day, 12, 0, 0);
        FUZZ_CHECK(passesDayFilter(gated, c) == plainDateGate(gated, c.now));
    }

    // The search against the walk over two days.
    DueContext from;
    from.now = now;
    from.zone = zoned ? &zone : nullptr;
    constexpr int kHorizon = 2 * 1440;
    const NextRun next = findNextRun(record, from);
    const NextRun truth = test::walkToNextRun(record, from, kHorizon);
    if (truth.kind == NextRunKind::At) {
        FUZZ_CHECK(next.kind == NextRunKind::At && sameMinute(next.when, truth.when));
    } else if (next.kind == NextRunKind::At) {
        // Beyond the walk's two days.
        LaunchTime end = now;
        for (int i = 0; i < kHorizon; ++i) end = followingMinute(end);
        const auto key = [](const LaunchTime& t) {
            return ((static_cast<long long>(t.year) * 13 + t.month) * 32 + t.day) * 1440 + t.hour * 60 + t.minute;
        };
        FUZZ_CHECK(key(next.when) >= key(end));
    }
    return 0;
}
