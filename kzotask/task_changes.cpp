#include "task_changes.h"

#include <cstring>

#include "blanks.h"
#include "day_list.h"
#include "day_time_rules.h"
#include "schedule_store.h"

namespace kzo {

namespace {

constexpr int kMaxCycleMinutes = 99 * 60 + 59;

std::string messageOf(const ChangeContext& context, int id) {
    std::string text = context.messageText ? context.messageText(id) : std::string();
    return text.empty() ? "Message " + std::to_string(id) + "." : text;
}

// The first line of a message that goes on with a question.
std::string firstLine(std::string_view text) { return std::string(text.substr(0, text.find_first_of("\r\n"))); }

// "/at \"24:00\": Invalid time specified."; without a value "/invert: ...".
ChangeOutcome refused(const std::string& what, const std::string& value, const std::string& why) {
    std::string named = value.empty() ? what : what + " \"" + value + "\"";
    return {kTaskInvalid, named + ": " + consoleLine(why), {}};
}

ChangeOutcome refusedBy(const ChangeContext& context, const std::string& what, const std::string& value, int id) {
    return refused(what, value, messageOf(context, id));
}

std::string optionName(TaskWhen when) {
    switch (when) {
        case TaskWhen::At: return "/at";
        case TaskWhen::Hourly: return "/hourly";
        case TaskWhen::Every: return "/every";
        case TaskWhen::Startup: return "/startup";
        case TaskWhen::Unchanged: break;
    }
    return "/at";
}

// "HH:MM" into the two boxes of a clock; false when it is not two parts.
bool splitClock(const std::string& text, std::string& hour, std::string& minute) {
    std::size_t colon = text.find(':');
    if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) return false;
    hour = text.substr(0, colon);
    minute = text.substr(colon + 1);
    return true;
}

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The Command page, its Advanced process settings and the Day and time page
// with its activity interval, applied to record as the Terminal applies them
// on OK (a new task: as its wizard applies them on Finish). The record is
// changed only when every page accepts.
ChangeOutcome editTask(TaskRecord& record, bool isNew, const std::string& name, const std::string& nameLabel,
                       const std::string& openingName, const TaskOptions& o, const NameExists& nameExists,
                       const ChangeContext& context) {
    TaskRecord work = record;

    // What the boxes hold at most: the tool refuses a longer text rather than
    // cutting it.
    if (trimBlanks(name).size() > kNameWidth)
        return refused(nameLabel, name, "A task name holds at most 64 characters.");
    const std::pair<const char*, const std::optional<std::string>*> texts[] = {
        {"/command", &o.command}, {"/folder", &o.folder}, {"/onerror", &o.onError}};
    for (const auto& [option, text] : texts)
        if (*text && trimBlanks(**text).size() > kCommandWidth)
            return refused(option, **text, "The text holds at most 511 characters.");

    int type = isNew ? static_cast<int>(kTypeApplication) : work.type;
    if (o.type) {
        std::optional<int> typed = readType(*o.type);
        if (!typed) return refused("/type", *o.type, "The type is app, doc, msg or shutdown.");
        type = *typed;
    }
    // The options of controls the pages disable for this type.
    const CommandPageLayout layout = commandPageLayout(type);
    if (o.minimized.value_or(false) && !layout.minimizedEnabled)
        return refused("/minimized", typeWord(type), "Only Application and Document tasks start minimized.");
    if (o.killAfter && !layout.advancedEnabled)
        return refused("/kill", *o.killAfter, "Only Application and Document tasks are ended.");
    if (o.onError && !layout.advancedEnabled)
        return refused("/onerror", *o.onError, "Only Application and Document tasks run a command on error.");
    if (o.quitAfter && !quitAfterEnabled(type))
        return refused("/quit", *o.quitAfter, "Only Application tasks are asked to close.");

    // The Command page.
    CommandControls c;
    c.name = name;
    c.command = o.command.value_or(fieldText(work.command));
    c.folder = o.folder.value_or(fieldText(work.folder));
    c.type = type;
    c.active = o.active.value_or(isNew || work.active == 1);
    c.runOnce = o.runOnce.value_or(work.runOnce == kRunOnceYes);
    c.minimized = o.minimized.value_or(work.runMinimized == 1);
    c.interactive = work.interactive == 1;
    c.autoQuote = context.autoQuote && o.command.has_value();
    c.programSearch = context.programSearch;
    c.openingName = openingName;
    c.wizard = isNew;
    c.isNt = context.isNt;
    bool remote = false;
    CommandOutcome command = storeCommand(c, work, nameExists, [&remote] { return remote = true; });
    if (!command.ok) {
        switch (command.messageId) {
            case kMsgDuplicateName:
                return refusedBy(context, nameLabel, name, command.messageId);
            case kMsgNoNameOrCommand:
                if (trimBlanks(name).empty()) return refusedBy(context, nameLabel, name, command.messageId);
                return refusedBy(context, "/command", c.command, command.messageId);
            case kMsgFolderCharacters:
                return refusedBy(context, "/folder", c.folder, command.messageId);
            default:
                return refusedBy(context, "/command", c.command, command.messageId);
        }
    }

    // Advanced process settings.
    if (o.killAfter || o.quitAfter || o.onError) {
        if (o.killAfter && processSeconds(*o.killAfter) < 0)
            return refusedBy(context, "/kill", *o.killAfter, kMsgInvalidSeconds);
        if (o.quitAfter && processSeconds(*o.quitAfter) < 0)
            return refusedBy(context, "/quit", *o.quitAfter, kMsgInvalidSeconds);
        AdvancedControls a;
        a.killAfter = o.killAfter.value_or(std::to_string(work.killAfter));
        a.quitAfter = o.quitAfter.value_or(std::to_string(work.quitAfter));
        a.onError = o.onError.value_or(fieldText(work.onError));
        AdvancedOutcome advanced =
            checkAdvanced(a, context.autoQuote && o.onError.has_value(), context.programSearch);
        if (advanced.messageId) {  // a time the task holds already (a hand-edited file)
            const bool kill = processSeconds(a.killAfter) < 0;
            return refusedBy(context, kill ? "/kill" : "/quit", kill ? a.killAfter : a.quitAfter, advanced.messageId);
        }
        work.killAfter = advanced.killAfter;
        work.quitAfter = advanced.quitAfter;
        setField(work.onError, advanced.onError);
    }

    // The activity interval dialog, which writes its fields before the page
    // checks the time against them.
    if (o.between || o.invert) {
        IntervalControls interval = intervalControlsFrom(work, false);
        if (o.between) {
            std::size_t dash = o.between->find('-');
            if (dash == std::string::npos ||
                !splitClock(trimBlanks(o.between->substr(0, dash)), interval.from.hour, interval.from.minute) ||
                !splitClock(trimBlanks(o.between->substr(dash + 1)), interval.to.hour, interval.to.minute))
                return refusedBy(context, "/between", *o.between, kMsgInvalidTime);
        }
        if (o.invert) interval.invert = *o.invert;
        IntervalOutcome checked = checkInterval(interval, false);
        if (checked.messageId) {
            if (checked.messageId == kMsgInvertFullDay && !o.between)
                return refusedBy(context, "/invert", "", checked.messageId);
            return refusedBy(context, "/between", o.between.value_or(""), checked.messageId);
        }
        work.intervalStart = checked.start;
        work.intervalEnd = checked.end;
        work.invert = checked.invert ? 1 : 0;
    }

    // The Day and time page: always for a new task (the wizard's Finish),
    // otherwise only when one of its options is given (a page that was never
    // shown leaves the record as it is).
    if (isNew || o.touchesSchedule()) {
        DayTimeControls d = isNew ? wizardDayTimeDefaults() : dayTimeControlsFrom(work, false);
        const std::string whenOption = optionName(o.when);
        switch (o.when) {
            case TaskWhen::Unchanged:
                break;
            case TaskWhen::At:
                if (!splitClock(o.whenValue, d.hour, d.minute))
                    return refusedBy(context, whenOption, o.whenValue, kMsgInvalidTime);
                d.startup = false;
                d.cycle = false;
                break;
            case TaskWhen::Hourly:
                d.startup = false;
                d.cycle = false;
                d.hour = "*";
                d.minute = o.whenValue;
                break;
            case TaskWhen::Every: {
                const std::string minutes = trimBlanks(o.whenValue);
                // Minutes of any length, into the page's hours and minutes: beyond
                // 99 hours the hours box refuses them.
                if (!isDigits(minutes)) return refusedBy(context, whenOption, o.whenValue, kMsgInvalidTime);
                long value = 0;
                for (char digit : minutes) value = value > kMaxCycleMinutes ? value : value * 10 + (digit - '0');
                d.startup = false;
                d.cycle = true;
                d.hour = std::to_string(value / 60);
                d.minute = std::to_string(value % 60);
                break;
            }
            case TaskWhen::Startup:
                d.startup = true;
                applyStartupChoice(d);
                break;
        }
        if (o.days) {
            std::optional<int> days = readWeekdays(*o.days);
            if (!days) return refused("/days", *o.days, "The days are Mo, Tu, We, Th, Fr, Sa, Su, weekdays, daily or none.");
            d.weekdays = *days;
        }
        if (o.daysOfMonth) d.days = trimBlanks(*o.daysOfMonth) == "none" ? std::string() : *o.daysOfMonth;
        if (o.months) {
            std::optional<int> months = readMonths(*o.months);
            if (!months) return refused("/months", *o.months, "The months are Jan, Feb, ... Dec, or every.");
            // "every" checks every month, as the page's Select All.
            d.months = *months == 0 ? 0xFFF : *months;
        }
        if (o.runLater) d.runLater = *o.runLater;

        DayTimeOutcome applied = applyDayTime(d, false, work, [] { return false; });
        const std::string timeValue = o.when == TaskWhen::Unchanged ? d.hour + ":" + d.minute : o.whenValue;
        if (applied.result == ApplyResult::Declined) {
            if (o.when == TaskWhen::Unchanged && o.between)
                return refused("/between", *o.between, firstLine(messageOf(context, kMsgTimeNotInInterval)));
            return refused(whenOption, timeValue, firstLine(messageOf(context, kMsgTimeNotInInterval)));
        }
        if (applied.result == ApplyResult::Refused) {
            switch (applied.messageId) {
                case kMsgInvalidDayCharacter:
                case kMsgInvalidDay:
                    return refusedBy(context, "/dom", d.days, applied.messageId);
                case kMsgNoDay:
                    return refusedBy(context, "/days, /dom", o.days.value_or(o.daysOfMonth.value_or("")),
                                     applied.messageId);
                default:  // an invalid time, a zero cycle
                    return refusedBy(context, whenOption, timeValue, applied.messageId);
            }
        }
    }

    work.edited = 1;
    record = work;
    ChangeOutcome done;
    if (remote) done.warning = "Warning: " + consoleLine(firstLine(messageOf(context, kMsgRemoteTargets)));
    return done;
}

NameExists existsIn(const std::vector<TaskRecord>& tasks) {
    return [&tasks](const std::string& name) { return findTask(tasks, name) >= 0; };
}

ChangeOutcome noSuchTask(const std::string& name) {
    return {kTaskNotFound, "There is no task \"" + name + "\" in the schedule.", {}};
}

}  // namespace

int findTask(const std::vector<TaskRecord>& tasks, std::string_view name) {
    std::string_view key = withoutOuterBlanks(name);
    if (key.empty()) return -1;
    for (std::size_t i = 0; i < tasks.size(); ++i)
        if (nameKey(tasks[i]) == key) return static_cast<int>(i);
    return -1;
}

ChangeOutcome addTask(std::vector<TaskRecord>& tasks, const std::string& name, const TaskOptions& options,
                      const ChangeContext& context) {
    TaskRecord record = newTaskRecord(static_cast<int>(tasks.size()) + 1);
    ChangeOutcome outcome =
        editTask(record, true, name, "Task name", std::string(), options, existsIn(tasks), context);
    if (outcome.exitCode != kTaskDone) return outcome;
    tasks.push_back(record);
    outcome.message = "Task \"" + fieldText(record.name) + "\" added.";
    return outcome;
}

ChangeOutcome setTask(std::vector<TaskRecord>& tasks, const std::string& name, const TaskOptions& options,
                      const ChangeContext& context, const char* done) {
    int index = findTask(tasks, name);
    if (index < 0) return noSuchTask(name);
    TaskRecord& record = tasks[index];
    const std::string current = fieldText(record.name);
    ChangeOutcome outcome = editTask(record, false, current, "Task name", current, options, existsIn(tasks), context);
    if (outcome.exitCode == kTaskDone) outcome.message = "Task \"" + fieldText(record.name) + "\" " + done + ".";
    return outcome;
}

ChangeOutcome renameTask(std::vector<TaskRecord>& tasks, const std::string& oldName, const std::string& newName,
                         const ChangeContext& context) {
    int index = findTask(tasks, oldName);
    if (index < 0) return noSuchTask(oldName);
    TaskRecord& record = tasks[index];
    const std::string current = fieldText(record.name);
    ChangeOutcome outcome =
        editTask(record, false, newName, "New name", current, TaskOptions(), existsIn(tasks), context);
    if (outcome.exitCode == kTaskDone)
        outcome.message = "Task \"" + trimBlanks(current) + "\" renamed to \"" + fieldText(record.name) + "\".";
    return outcome;
}

ChangeOutcome removeTask(std::vector<TaskRecord>& tasks, const std::string& name) {
    int index = findTask(tasks, name);
    if (index < 0) return noSuchTask(name);
    const std::string removed = fieldText(tasks[index].name);
    tasks[index] = tasks.back();
    tasks.pop_back();
    return {kTaskDone, "Task \"" + trimBlanks(removed) + "\" removed.", {}};
}

ChangeOutcome importTasks(std::vector<TaskRecord>& tasks, const TaskFileRead& file, const std::string& fileName,
                          bool replace, const ChangeContext& context) {
    auto refuse = [&fileName](int line, const std::string& why) {
        return ChangeOutcome{kTaskInvalid, fileName + ", line " + std::to_string(line) + ": " + consoleLine(why), {}};
    };
    if (!file.error.empty()) return refuse(file.errorLine, file.error);

    std::vector<TaskRecord> imported;
    for (const TaskBlock& block : file.blocks) {
        TaskRecord record = block.record;
        const std::string name = fieldText(record.name);
        auto refuseBy = [&](const char* key, int id) {
            return refuse(block.lineOf(key), std::string(key) + ": " + messageOf(context, id));
        };
        if (withoutOuterBlanks(name).empty()) return refuseBy("Name", kMsgNoNameOrCommand);
        if (findTask(imported, name) >= 0 || (!replace && findTask(tasks, name) >= 0))
            return refuseBy("Name", kMsgDuplicateName);

        // The Command page's checks, on a copy: the block's texts are stored
        // as they are.
        CommandControls c;
        c.name = name;
        c.command = fieldText(record.command);
        c.folder = fieldText(record.folder);
        c.type = record.type;
        c.wizard = true;
        c.isNt = true;
        TaskRecord scratch = record;
        CommandOutcome command = storeCommand(c, scratch, nullptr, nullptr);
        if (!command.ok) return refuseBy(command.messageId == kMsgFolderCharacters ? "Folder" : "Command",
                                         command.messageId);
        if (processSeconds(std::to_string(record.quitAfter)) < 0) return refuseBy("QuitAfter", kMsgInvalidSeconds);
        if (processSeconds(std::to_string(record.killAfter)) < 0) return refuseBy("KillAfter", kMsgInvalidSeconds);

        IntervalOutcome interval = checkInterval(intervalControlsFrom(record, false), false);
        if (interval.messageId)
            return refuseBy(interval.messageId == kMsgInvertFullDay ? "Invert" : "IntervalStart", interval.messageId);

        scratch = record;
        DayTimeOutcome applied = applyDayTime(dayTimeControlsFrom(record, false), false, scratch, [] { return false; });
        if (applied.result == ApplyResult::Declined) {
            const char* key = block.lines.count("Time") || !block.lines.count("IntervalStart") ? "Time" : "IntervalStart";
            return refuse(block.lineOf(key), std::string(key) + ": " + firstLine(messageOf(context, kMsgTimeNotInInterval)));
        }
        if (applied.result == ApplyResult::Refused) {
            switch (applied.messageId) {
                case kMsgInvalidDayCharacter:
                case kMsgInvalidDay:
                    return refuseBy("DaysOfMonth", applied.messageId);
                case kMsgNoDay:
                    return refuseBy(block.lines.count("Weekdays") ? "Weekdays" : "DaysOfMonth", applied.messageId);
                default:
                    return refuseBy("Time", applied.messageId);
            }
        }
        // A time the page reads otherwise than it stands (an hour of 26 with
        // minutes is the startup time to the page) is none it stores.
        if (scratch.time != record.time) return refuseBy("Time", kMsgInvalidTime);
        // The days of the month in the form the due test reads.
        std::memset(record.daysOfMonth, 0, sizeof record.daysOfMonth);
        setField(record.daysOfMonth, fieldText(scratch.daysOfMonth));
        imported.push_back(record);
    }

    std::size_t replaced = 0;
    for (const TaskRecord& record : imported) {
        int index = findTask(tasks, fieldText(record.name));
        if (index >= 0) {
            tasks[index] = record;
            ++replaced;
        } else {
            tasks.push_back(record);
        }
    }
    std::string message = "Imported " + std::to_string(imported.size()) + (imported.size() == 1 ? " task" : " tasks");
    if (replaced) message += " (" + std::to_string(replaced) + " replaced)";
    return {kTaskDone, message + " from " + fileName + ".", {}};
}

std::string consoleLine(std::string_view message) {
    std::string out;
    for (char c : message) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace kzo
