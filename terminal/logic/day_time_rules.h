// The Day and time page and its activity interval dialog as functions of their
// control values: what the controls show for a record, which are enabled, the
// spin ranges, and the checks that write a record only with values the due test
// reads as meant. Pure: no windows.h.
//
// Number boxes are read strictly: blanks at both ends are trimmed and what
// remains must be decimal digits ("9*", "-1", "1e3" and an empty box are
// refused as an invalid time, never read as a number's first digits).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "task_editing_resource.h"
#include "task_record.h"

namespace kzo {

constexpr int kMsgInvalidTime = IDS_INVALID_TIME;        // "Invalid time specified.\t\t "
constexpr int kMsgTimeNotInInterval = IDS_TIME_NOT_IN_INTERVAL;  // the question: set the full-day interval?
constexpr int kMsgZeroCycle = IDS_ZERO_CYCLE;          // "Zero cycle is invalid.\t\t "
constexpr int kMsgInvertFullDay = IDS_INVERT_FULL_DAY;      // "\"Invert\" option can not be used with full-day interval."
constexpr int kMsgIntervalOrder = IDS_INTERVAL_ORDER;      // "Second time value must be greater than first one."
constexpr int kLabelRunLater = IDS_LABEL_RUN_LATER;         // "&Run later, if it was impossible to run in time"
constexpr int kLabelEveryStartup = IDS_LABEL_EVERY_STARTUP;     // "Eve&ry startup/logon"
constexpr int kLabelWizardUserLogon = IDS_LABEL_WIZARD_LOGON;  // "R&un at user logon"
constexpr int kLabelSheetUserLogon = IDS_LABEL_SHEET_LOGON;   // "R&un task at user logon"

// The page's controls.
struct DayTimeControls {
    int weekdays = 0;    // the checked weekdays, bit 0 Monday .. bit 6 Sunday
    int months = 0;      // the checked months, bit 0 January .. bit 11 December
    std::string days;    // the days-of-month box
    std::string hour;    // the hour box: digits, or "*" / "**" for every hour
    std::string minute;  // the minute box
    bool startup = false;  // the startup/logon radio button is chosen
    bool cycle = false;
    bool runLater = false;
    bool pm = false;  // the AM/PM button shows PM (read only with the AMPM setting)
};

// The controls for a record in the property sheet: the hour as the 12-hour clock
// shows it with the AMPM setting (cycle periods and the every-hour "*" never),
// "00" for a startup task, two digits at least.
DayTimeControls dayTimeControlsFrom(const TaskRecord& record, bool ampm);

// A new task in the wizard: every month, no weekday, 00:00, scheduled time, run
// later, no cycle.
DayTimeControls wizardDayTimeDefaults();

// The radio-button rule: choosing the startup button sets both boxes to "00" and
// clears the cycle box.
void applyStartupChoice(DayTimeControls& controls);

struct DayTimeEnables {
    bool timeControls;  // cycle box, hour and minute boxes and the spin
    bool ampmVisible;
    bool ampmEnabled;
    int runLaterLabel;  // kLabelRunLater or kLabelEveryStartup
};
DayTimeEnables dayTimeEnables(const DayTimeControls& controls, bool ampm);

// The startup button's text for a user schedule (the template's text, for the
// system schedule, is kept: 0).
int startupButtonLabel(bool wizard, bool userSchedule);

struct SpinRange {
    int low;
    int high;
};
SpinRange hourSpinRange(bool cycle, bool ampm);  // 0..99 cycle, 1..12 AMPM, else 0..23
SpinRange minuteSpinRange();                     // 0..59

// A click on the spin for a number box: the box's number moved by delta and
// kept within the range, in two digits at least. A box that holds no number
// ("*", blank, "9*") starts from the range's end the click moves away from.
std::string spinnedBox(std::string_view box, int delta, SpinRange range);

// Apply's answer.
enum class ApplyResult {
    Accepted,
    Refused,   // messageId says why
    Declined,  // the time lay outside the activity interval and the user kept it
};
struct DayTimeOutcome {
    ApplyResult result;
    int messageId;  // for Refused
};

// The question "The specified time is not in the Activity interval ... Do you
// want to set Full-day interval." (7592): true for Yes.
using FullDayQuestion = std::function<bool()>;

// Apply: reads the controls in the page's order and writes the record. The
// weekdays, cycle and run-later flags are written first and stay written when a
// later check refuses; the time and the days list are written only once they
// are checked, the months and last-run year 0 on acceptance. The time of day is
// asked about when the activity interval keeps the task from running at it
// (outside the interval, or inside it when inverted); Yes sets the full-day
// interval and clears the invert flag (the interval dialog refuses both
// together). The startup button stores 1560 whatever the boxes hold, without
// the cycle flag. The AMPM setting reads the hour box as the 12-hour clock with
// the half of controls.pm.
DayTimeOutcome applyDayTime(const DayTimeControls& controls, bool ampm, TaskRecord& record,
                            const FullDayQuestion& askFullDay);

// The record as the page would store it (last-run year 0, the edited mark the
// sheet sets), for the "Next run" line that follows the controls; the interval
// question is not asked (the interval stays as it is). Empty when Apply would
// refuse the controls.
std::optional<TaskRecord> dayTimePreview(const DayTimeControls& controls, bool ampm,
                                         const TaskRecord& record);

// One "hours : minutes" pair of the activity interval dialog.
struct ClockBoxes {
    std::string hour;
    std::string minute;
    bool pm = false;
};

struct IntervalControls {
    ClockBoxes from;
    ClockBoxes to;
    bool invert = false;
};

// The dialog's controls for a record's interval.
IntervalControls intervalControlsFrom(const TaskRecord& record, bool ampm);

// "Full day": 00:00 to 23:59, with the AMPM setting 12:00 AM to 11:59 PM; the
// invert box is left as it is.
void setFullDay(IntervalControls& controls, bool ampm);

struct IntervalOutcome {
    int messageId = 0;  // 0 when accepted
    int32_t start = 0;
    int32_t end = 0;
    bool invert = false;
};

// OK: each end is hour (12-hour entry with the AMPM setting) x 60 + minute and
// must lie in 0..1439 (a minute above 59 carries into the hour: 10:75 is 11:15);
// 7588, then full day with invert 7638, then an end before the start 7639.
IntervalOutcome checkInterval(const IntervalControls& controls, bool ampm);

}  // namespace kzo
