// The due test and the day filter over any record a hand-edited file may hold,
// at any time a clock can show; and a pass's prefetching walk against the
// record-by-record test.
//
// Input: the launch time (8 bytes), the first-pass flag, the role, the uptime
// (4 bytes), then records of 1709 bytes (the last one padded with zeros).
#include <cstring>
#include <vector>

#include "due_rule.h"
#include "fuzz_input.h"
#include "launch_stamp.h"

namespace {

using namespace kzo;

// The store a pass walks, in memory.
class Records {
public:
    explicit Records(std::vector<TaskRecord> records) : records_(std::move(records)) {}
    std::size_t count() const { return records_.size(); }
    TaskRecord& item(std::size_t i) { return records_.at(i); }

private:
    std::vector<TaskRecord> records_;
};

bool sameBytes(const TaskRecord& a, const TaskRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void checkRecord(const TaskRecord& record, const DueContext& context) {
    const TaskRecord before = record;
    bool due = isDue(record, context);
    bool kept = passesDayFilter(record, context);
    FUZZ_CHECK(sameBytes(before, record));
    // A task due now was kept by every reload of the day: the filter does not
    // look at the time of day.
    FUZZ_CHECK(!due || kept);
    DueContext midnight = context;
    midnight.now.hour = 0;
    midnight.now.minute = 0;
    midnight.now.second = 0;
    FUZZ_CHECK(!due || passesDayFilter(record, midnight));
    // The same answer each time: nothing is remembered between calls.
    FUZZ_CHECK(isDue(record, context) == due);

    // A launched task of a fixed time of day or of every hour is not due again
    // in the minute of its launch (cycles and startup tasks are kept from a
    // second launch by the loop, which passes each minute once).
    bool startup = !record.cycle && record.time / 60 == kHourStartup;
    if (due && !record.cycle && !startup) {
        TaskRecord stamped = record;
        stampLaunch(stamped, context.now);
        FUZZ_CHECK(!isDue(stamped, context));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    DueContext context;
    context.now = input.clockTime();
    context.firstPass = input.byte() & 1;
    context.role = (input.byte() & 1) ? SchedulerRole::System : SchedulerRole::User;
    context.uptimeMs = input.number<std::uint32_t>();

    std::vector<TaskRecord> raw;
    do raw.push_back(input.record());
    while (input.left() > 0 && raw.size() < 8);
    for (const TaskRecord& r : raw) checkRecord(r, context);

    // A store long enough for the walk's look-ahead: the records again, each
    // copy a minute and a period apart.
    std::vector<TaskRecord> stored;
    for (std::size_t k = 0; k < 24; ++k) {
        TaskRecord r = raw[k % raw.size()];
        if (k >= raw.size()) {
            r.time = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.time) + k);
            r.lastMinute = static_cast<std::int8_t>(r.lastMinute + k);
        }
        stored.push_back(r);
    }
    Records store(stored);
    std::vector<std::size_t> walked;
    forEachDue(store, context, [&](TaskRecord& r) {
        walked.push_back(static_cast<std::size_t>(&r - &store.item(0)));
    });
    std::vector<std::size_t> oneByOne;
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (isDue(stored[i], context)) oneByOne.push_back(i);
    FUZZ_CHECK(walked == oneByOne);
    return 0;
}
