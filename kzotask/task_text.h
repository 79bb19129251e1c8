// The text form of tasks that kzotask exports, imports and shows: one block per
// task, every field of the record by name, one line each.
//
//   [Task]
//   Name = 'Backup'
//   Command = '"C:\Program Files\Backup\backup.exe" /all'
//   Weekdays = Mo,Tu,We,Th,Fr
//   ...
//
// Texts are quoted: 'literal' (every byte as it is, up to the next ') when the
// text holds no ' and no control character, otherwise "escaped" with \\, \",
// \t, \r, \n and \xHH. Bytes 128 to 255 stand as they are: the file is in the
// system's code page, as the record is. Lines starting with ; or # are
// comments. What a record holds after a text's terminating zero is not
// written: it means nothing to any program, and a record read back from the
// text is zero-filled before its fields are set, as the Terminal makes a new
// task.
//
// Pure: no windows.h.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "task_record.h"

namespace kzo {

// The block of one task: "[Task]" and a "Key = value" line for every field,
// each line ended by "\n".
std::string taskBlock(const TaskRecord& record);

// A file of blocks: a comment naming the form, then the blocks, a blank line
// before each.
std::string taskFile(const std::vector<TaskRecord>& records);

// One block as read.
struct TaskBlock {
    TaskRecord record{};  // the block's fields over the defaults of a new task
    int line = 0;         // the line of its "[Task]"
    // The line of each key the block gives, by the key as the form writes it.
    std::map<std::string, int> lines;

    // The line of a key, or of "[Task]" when the block does not give it.
    int lineOf(const std::string& key) const;
};

struct TaskFileRead {
    std::vector<TaskBlock> blocks;
    int errorLine = 0;  // 0 when the whole text reads
    std::string error;
};

// Reads a text of blocks. Lines may end in "\n" or "\r\n". A key may stand in
// any order and in any case; a key a block does not give keeps the value of a
// new task (active, Application, 00:00 with run later, every month, the
// full-day interval, edited, never run). Each block needs a Name. A value that
// does not fit its field, an unknown key, a key given twice and anything but
// blanks after a closing quote stop the reading at that line. Only the form is
// checked here: whether the Terminal would store the values is the rules'
// (task_changes.h).
TaskFileRead readTaskFile(std::string_view text);

// A list of weekdays: names or starts of names of at least two letters ("Mo",
// "Tue", "Wednesday"), in any case, separated by commas; "none" (0), "daily"
// (127), "weekdays" (31); or the mask as a number 0..127. Nothing when the
// text is none of these.
std::optional<int> readWeekdays(std::string_view text);

// A list of months: names or starts of names of at least three letters
// ("Jan", "march"), separated by commas; "every" (0, which every month
// matches); or the mask as a number 0..4095.
std::optional<int> readMonths(std::string_view text);

// The words of a weekdays mask ("Mo,Tu,We,Th,Fr", "none") and of a months mask
// ("every" for 0, "Jan,Feb" ...), as the form writes them; a mask with bits
// beyond the days or months as its number.
std::string weekdaysWords(int weekdays);
std::string monthsWords(int32_t months);

// The words of a task type: Application, Document, Message, Shutdown; another
// byte as its number. And the type of a word: those four, app, doc, msg, in
// any case, or a number 0..3.
std::string typeWord(int type);
std::optional<int> readType(std::string_view word);

}  // namespace kzo
