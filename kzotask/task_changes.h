// What kzotask's verbs do to the tasks of a schedule, held as the file holds
// them: each change goes through the Terminal's own rules (command_rules.h,
// day_time_rules.h, day_list.h), so that the tool stores what the Terminal's
// pages would store and refuses what they refuse, with their messages. Pure:
// no windows.h.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "command_rules.h"
#include "task_options.h"
#include "task_record.h"
#include "task_text.h"

namespace kzo {

// What the rules need of the system and of the Terminal's settings.
struct ChangeContext {
    bool autoQuote = true;        // the Terminal's AutoQuote setting
    ProgramSearch programSearch;  // where AutoQuote looks for a program
    bool isNt = true;             // 95/98/Me send no messages to remote computers
    // The text of a message of the rules by its number (the string table's).
    std::function<std::string(int id)> messageText;
};

// The answer of a change: kTaskDone with what was done, or the exit code and
// the message that names the option (or the line of an imported file) and why.
struct ChangeOutcome {
    int exitCode = kTaskDone;
    std::string message;
    std::string warning;  // accepted, with something to say (remote targets on 95/98/Me)
};

// The index of the task a name finds (compared as the schedule store compares
// names: without the blanks at either end, case-sensitive), or -1.
int findTask(const std::vector<TaskRecord>& tasks, std::string_view name);

// add: a new task with the defaults of the Terminal's wizard (active,
// Application, every month, 00:00 with run later, the full-day interval) and
// the options over them, appended.
ChangeOutcome addTask(std::vector<TaskRecord>& tasks, const std::string& name, const TaskOptions& options,
                      const ChangeContext& context);

// set (and enable, disable): the options given change the task and nothing
// else; an option of the Day and time page applies that page as the Terminal
// does (the task then counts as not run today). The task is marked edited.
// done is the word of the message: "Task \"Backup\" changed."
ChangeOutcome setTask(std::vector<TaskRecord>& tasks, const std::string& name, const TaskOptions& options,
                      const ChangeContext& context, const char* done = "changed");

ChangeOutcome renameTask(std::vector<TaskRecord>& tasks, const std::string& oldName, const std::string& newName,
                         const ChangeContext& context);

// The last task moves into the removed task's place, as the Terminal removes.
ChangeOutcome removeTask(std::vector<TaskRecord>& tasks, const std::string& name);

// import: every block must pass the rules the Terminal's pages apply to what
// they store (the days of the month are stored in their normal form, every
// other field as the block gives it); a name the schedule has is refused, or
// with replace its task is replaced in place. Any refusal names the file's
// line and leaves tasks as they were.
ChangeOutcome importTasks(std::vector<TaskRecord>& tasks, const TaskFileRead& file, const std::string& fileName,
                          bool replace, const ChangeContext& context);

// A message of the string table as one console line: line breaks as blanks,
// tabs and the blanks around them dropped.
std::string consoleLine(std::string_view message);

}  // namespace kzo
