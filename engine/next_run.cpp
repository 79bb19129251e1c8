#include "next_run.h"

#include <algorithm>
#include <cstdint>

#include "cycle_clock.h"

namespace kzo {

namespace {

constexpr int kLastMinute = 1439;  // of a day
constexpr int kNone = -1;

// The calendar the search walks: years of four digits, Gregorian months.
bool isRealMoment(const LaunchTime& t) {
    return t.year >= 1601 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
           t.minute <= 59;
}

struct Date {
    int year, month, day;
};

Date nextDate(Date d) {
    if (++d.day > daysInMonth(d.year, d.month)) {
        d.day = 1;
        if (++d.month > 12) {
            d.month = 1;
            ++d.year;
        }
    }
    return d;
}

LaunchTime at(Date d, int minuteOfDay) {
    return launchTimeAt(d.year, d.month, d.day, minuteOfDay / 60, minuteOfDay % 60, 0);
}

// The minutes of one day that can be due, for a record the day filter keeps on
// that day (so its schedule is evaluable: interval limits in 0..1439, start not
// after end, a cycle period of at least 1, an hour code of 0..23, 25 or 26).
// first(x) is the smallest such minute not below x, or kNone; it may name a
// minute the due test then refuses, never skip one it would accept.
//
// On a day the clock changes, a cycle's rhythm on the local clock shifts at the
// change: every allowed minute is a candidate then.
class DayCandidates {
public:
    DayCandidates(const TaskRecord& r, const DueContext& midnight, bool clockChanges) : r_(r) {
        start_ = r.intervalStart;
        end_ = r.intervalEnd;
        if (r.cycle && static_cast<int64_t>(r.lastYear) + 1900 == midnight.now.year && !clockChanges) {
            sameYearCycle_ = true;
            CycleMinutes m = cycleMinutes(r, midnight);
            dayStart_ = m.now;
            last_ = m.last;
        }
    }

    int first(int x) const {
        if (r_.cycle) return firstOfCycle(x);
        const int hourCode = r_.time / 60;
        if (hourCode == kHourEveryHour) return firstOfEveryHour(x);
        return firstOfTimeOfDay(x);
    }

private:
    // Inside the activity interval, or outside it (limits included) when inverted.
    int firstAllowed(int64_t x) const {
        if (x < 0) x = 0;
        if (x > kLastMinute) return kNone;
        int m = static_cast<int>(x);
        if (!r_.invert) {
            m = std::max(m, start_);
            return m <= end_ ? m : kNone;
        }
        if (m <= start_ || m >= end_) return m;
        return end_;
    }

    bool allowed(int m) const { return firstAllowed(m) == m; }

    // Due at the time T, or with run later at any allowed minute after it.
    int firstOfTimeOfDay(int x) const {
        const int t = r_.time;
        if (r_.runLater) return firstAllowed(std::max(x, t));
        return t >= x && allowed(t) ? t : kNone;
    }

    // Due at minute m of an hour, or with run later later in the same hour.
    int firstOfEveryHour(int x) const {
        const int m = r_.time % 60;
        for (int hour = std::max(x, 0) / 60; hour <= 23; ++hour) {
            const int base = hour * 60;
            if (r_.runLater) {
                int c = firstAllowed(std::max(x, base + m));
                if (c != kNone && c < base + 60) return c;
            } else if (base + m >= x && allowed(base + m)) {
                return base + m;
            }
        }
        return kNone;
    }

    // In a new year (or never run) at once; otherwise at the minutes whose
    // distance from the last run is a whole number of periods, and with run
    // later at any minute more than one period after it. (Every allowed minute
    // on a day the clock changes.)
    int firstOfCycle(int x) const {
        if (!sameYearCycle_) return firstAllowed(x);
        const int64_t period = r_.time;
        int best = kNone;
        auto consider = [&best](int c) {
            if (c != kNone && (best == kNone || c < best)) best = c;
        };
        if (r_.runLater) consider(firstAllowed(std::max<int64_t>(x, last_ + period + 1 - dayStart_)));
        // The first minute of the rhythm in [a, b].
        auto inRhythm = [&](int a, int b) {
            a = std::max(a, x);
            if (a > b) return;
            int64_t offset = ((last_ - dayStart_ - a) % period + period) % period;
            if (a + offset <= b) consider(static_cast<int>(a + offset));
        };
        if (!r_.invert) {
            inRhythm(start_, end_);
        } else {
            inRhythm(0, start_);
            inRhythm(end_, kLastMinute);
        }
        return best;
    }

    const TaskRecord& r_;
    int start_ = 0;
    int end_ = kLastMinute;
    bool sameYearCycle_ = false;
    int64_t dayStart_ = 0;  // the cycle clock at 00:00 of the day
    int64_t last_ = 0;      // the cycle clock of the last run
};

bool isStartupTask(const TaskRecord& r) { return !r.cycle && r.time / 60 == kHourStartup; }

// The first due minute of a day the day filter keeps, from minute `from` on,
// as an executor passing every minute meets it: the minutes the clock skips
// going forward are not there, and the minute it resumes at is the first pass
// after the change, with the skipped minutes made up; the minutes it repeats
// going back are met twice, the second time as standard time.
int firstDueMinute(const TaskRecord& record, DueContext& context, Date date, int from) {
    const DayChange change =
        context.zone ? clockChangeOn(*context.zone, date.year, date.month, date.day) : DayChange{};
    DueContext midnight = context;
    midnight.now = at(date, 0);
    DayCandidates candidates(record, midnight, !change.skipped.empty() || !change.repeated.empty());
    auto dueAt = [&](int minute, MinuteRange skipped, bool secondPass) {
        context.now = at(date, minute);
        context.skipped = skipped;
        context.secondPass = secondPass;
        return isDue(record, context);
    };
    // The first due minute of a..b.
    auto scan = [&](int a, int b, bool secondPass) {
        for (int m = candidates.first(a); m != kNone && m <= b; m = candidates.first(m + 1))
            if (dueAt(m, {}, secondPass)) return m;
        return kNone;
    };
    const MinuteRange gap = change.skipped;
    const MinuteRange repeated = change.repeated;
    int due = kNone;
    if (!gap.empty()) {
        const int resume = gap.last + 1;
        due = scan(from, gap.first - 1, false);
        if (due == kNone && from <= resume && resume <= kLastMinute &&
            dueAt(resume, {std::max(gap.first, from), gap.last}, false))
            due = resume;
        if (due == kNone) due = scan(std::max(from, resume + 1), kLastMinute, false);
    } else if (!repeated.empty()) {
        due = scan(from, repeated.last, false);
        if (due == kNone && from <= repeated.last) due = scan(repeated.first, repeated.last, true);
        if (due == kNone) due = scan(std::max(from, repeated.last + 1), kLastMinute, false);
    } else {
        due = scan(from, kLastMinute, false);
    }
    return due;
}

}  // namespace

NextRun findNextRun(const TaskRecord& record, const DueContext& from) {
    NextRun result;
    if (!isRealMoment(from.now)) return result;
    if (!record.active) {
        result.kind = NextRunKind::Inactive;
        return result;
    }
    DueContext context = from;
    context.firstPass = false;
    context.skipped = {};
    context.secondPass = false;

    // A startup/logon task runs at a startup or logon on a day its date rules
    // allow: asked of the day filter with the edited mark set, which then keeps
    // the record on exactly those days.
    const bool startup = isStartupTask(record);
    TaskRecord startupCopy;
    if (startup) {
        startupCopy = record;
        startupCopy.edited = 1;
    }

    Date date{from.now.year, from.now.month, from.now.day};
    int firstMinute = from.now.hour * 60 + from.now.minute;
    for (int dayIndex = 0; dayIndex <= kNextRunDays; ++dayIndex) {
        context.now = at(date, firstMinute);
        if (startup) {
            if (passesDayFilter(startupCopy, context)) {
                result.kind = NextRunKind::AtStartup;
                return result;
            }
        } else if (passesDayFilter(record, context)) {
            const int minute = firstDueMinute(record, context, date, firstMinute);
            if (minute != kNone) {
                result.kind = NextRunKind::At;
                result.when = at(date, minute);
                return result;
            }
        }
        date = nextDate(date);
        firstMinute = 0;
    }
    return result;
}

LaunchTime followingMinute(const LaunchTime& moment) {
    if (!isRealMoment(moment)) return moment;
    int minute = moment.hour * 60 + moment.minute + 1;
    Date date{moment.year, moment.month, moment.day};
    if (minute > kLastMinute) {
        minute = 0;
        date = nextDate(date);
    }
    return at(date, minute);
}

}  // namespace kzo
