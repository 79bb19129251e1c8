// The conversion of earlier versions' schedule files over any bytes: the
// layout a file's size picks, and every record converted from it, whole
// (texts terminated in their fields, the marks a conversion clears cleared, a
// month number as a month's bit or every month), then put to the due test, the
// day filter and the next-run search as the schedulers and the Terminal put
// it: a converted record is evaluated without harm, and the next run found is
// a minute the due test accepts, with none due before it from where the search
// began.
//
// Input: the layout (1 byte), the time of the search (8 bytes), the role and
// the uptime (5 bytes), then the old records.
#include <cstring>
#include <vector>

#include "due_rule.h"
#include "fuzz_input.h"
#include "next_run.h"
#include "old_schedule_formats.h"

namespace {

using namespace kzo;

template <std::size_t N>
bool terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

bool sameBytes(const TaskRecord& a, const TaskRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameMinute(const LaunchTime& a, const LaunchTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute;
}

bool earlierThan(const LaunchTime& a, const LaunchTime& b) {
    const int x[] = {a.year, a.month, a.day, a.hour, a.minute};
    const int y[] = {b.year, b.month, b.day, b.hour, b.minute};
    for (int i = 0; i < 5; ++i)
        if (x[i] != y[i]) return x[i] < y[i];
    return false;
}

void checkConverted(const TaskRecord& r, OldLayout layout) {
    FUZZ_CHECK(terminated(r.name) && terminated(r.command) && terminated(r.daysOfMonth) && terminated(r.folder) &&
               terminated(r.onError));
    FUZZ_CHECK(r.edited == 0 && r.interactive == 0 && r.invert == 0);
    FUZZ_CHECK(r.months == 0 || (r.months > 0 && r.months <= 0x800 && (r.months & (r.months - 1)) == 0));
    if (layout == OldLayout::A) FUZZ_CHECK(r.intervalStart == 0 && r.intervalEnd == kLastMinuteOfDay);
    if (layout == OldLayout::A || layout == OldLayout::B) {
        FUZZ_CHECK(r.months == 0 && r.runOnce == 0 && r.quitAfter == 0 && r.killAfter == 0);
        FUZZ_CHECK(r.folder[0] == 0 && r.onError[0] == 0);
    }
    if (layout == OldLayout::A) FUZZ_CHECK(r.cycle == 0);
}

void checkSchedule(const TaskRecord& record, const DueContext& context) {
    const TaskRecord before = record;
    const bool due = isDue(record, context);
    FUZZ_CHECK(!due || passesDayFilter(record, context));

    DueContext later = context;
    later.firstPass = false;
    NextRun next = findNextRun(record, context);
    FUZZ_CHECK(sameBytes(before, record));
    FUZZ_CHECK((next.kind == NextRunKind::Inactive) == (record.active == 0));
    const bool startup = !record.cycle && record.time / 60 == kHourStartup;
    if (next.kind == NextRunKind::AtStartup) FUZZ_CHECK(startup);
    if (next.kind != NextRunKind::At) {
        // Nothing due from where the search began.
        if (record.active) FUZZ_CHECK(!isDue(record, later) || startup);
        return;
    }
    FUZZ_CHECK(!startup);
    // The minute found is due and kept by that day's reloads, and it is not
    // before the search's minute.
    later.now = next.when;
    FUZZ_CHECK(next.when.second == 0);
    FUZZ_CHECK(next.when.weekday == weekdayOf(next.when.year, next.when.month, next.when.day));
    FUZZ_CHECK(isDue(record, later));
    FUZZ_CHECK(passesDayFilter(record, later));
    FUZZ_CHECK(!earlierThan(next.when, context.now));
    // The search's own minute, when due, is the one found.
    DueContext now = context;
    now.firstPass = false;
    if (isDue(record, now)) FUZZ_CHECK(sameMinute(next.when, context.now));
    // The minute before the one found, when the search saw it, was not due.
    if (earlierThan(context.now, next.when)) {
        LaunchTime previous = next.when;
        if (previous.minute > 0) {
            --previous.minute;
            DueContext earlier = context;
            earlier.firstPass = false;
            earlier.now = launchTimeAt(previous.year, previous.month, previous.day, previous.hour, previous.minute);
            FUZZ_CHECK(!isDue(record, earlier));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const OldLayout layouts[] = {OldLayout::A, OldLayout::B, OldLayout::C, OldLayout::D};
    const OldLayout layout = layouts[input.byte() % 4];
    DueContext context;
    context.now = input.clockTime();
    // Years the records' stamps and the search's calendar share.
    context.now.year = 1990 + context.now.year % 120;
    if (context.now.month == 2 && context.now.day == 29 &&
        !(context.now.year % 4 == 0 && (context.now.year % 100 != 0 || context.now.year % 400 == 0)))
        context.now.day = 28;
    context.now.weekday = weekdayOf(context.now.year, context.now.month, context.now.day);
    context.firstPass = false;
    std::uint8_t flags = input.byte();
    context.role = (flags & 1) ? SchedulerRole::System : SchedulerRole::User;
    context.uptimeMs = input.number<std::uint32_t>();

    // The file: whole records of the layout; its size picks the layout back,
    // unless it is also a multiple of a later layout's size.
    const std::size_t recordSize = oldRecordSize(layout);
    std::vector<unsigned char> file;
    do {
        std::vector<unsigned char> old(recordSize);
        input.bytes(old.data(), old.size());
        file.insert(file.end(), old.begin(), old.end());
    } while (input.left() > 0 && file.size() < 4 * recordSize);
    const OldLayout chosen = oldLayoutForSize(file.size());
    FUZZ_CHECK(chosen != OldLayout::None);
    FUZZ_CHECK(file.size() % oldRecordSize(chosen) == 0);
    FUZZ_CHECK(oldRecordSize(chosen) >= recordSize);

    for (std::size_t at = 0; at + recordSize <= file.size(); at += recordSize) {
        TaskRecord converted = convertOldRecord(layout, file.data() + at);
        checkConverted(converted, layout);
        checkSchedule(converted, context);
    }
    return 0;
}
