// The Command page, its Advanced process settings and Shut Down Windows dialogs
// as functions of their control values: the labels and buttons by task type,
// the checks that write the record, the seconds fields and the quoting of
// commands. Pure: no windows.h.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "resource.h"
#include "task_record.h"

namespace kzo {

constexpr std::size_t kNameWidth = 64;      // the task name box and field
constexpr std::size_t kCommandWidth = 511;  // command, folder and on-error boxes and fields

constexpr int kMsgDuplicateName = IDS_DUPLICATE_NAME;      // "Task with this name already exists. ..."
constexpr int kMsgDocumentQuote = IDS_DOCUMENT_QUOTE;      // "No quotation allowed in the \"Command\" property ..."
constexpr int kMsgDocumentCharacters = IDS_DOCUMENT_CHARACTERS; // "A Command can't contain any of the following characters : ?<> "
constexpr int kMsgFolderCharacters = IDS_FOLDER_CHARACTERS;   // "Startup folder name can't contain any of ... \"?<>|"
constexpr int kMsgInvalidSeconds = IDS_INVALID_SECONDS;     // "Invalid time specified.\t\t \r\nEnter a value between [0...99 999]."
constexpr int kMsgShutdownKeyword = IDS_SHUTDOWN_KEYWORD;    // "The \"Command\" property must contain one of the following keywords ..."
constexpr int kMsgNoNameOrCommand = IDS_NO_NAME_OR_COMMAND;    // "Task name or Command was not specified.\t\t"
constexpr int kMsgRemoteTargets = IDS_REMOTE_TARGETS;      // the 95/98/Me question about remote computers
constexpr int kLabelCommand = IDS_LABEL_COMMAND;          // "&Command :"
constexpr int kLabelMessage = IDS_LABEL_MESSAGE;          // "Messa&ge :"
constexpr int kFilterAllFirst = IDS_FILTER_ALL_FIRST;        // "All Files|*.*|Programs|...||"
constexpr int kFilterProgramsFirst = IDS_FILTER_PROGRAMS;   // "Programs|*.exe;*.com;*.bat;*.cmd|All Files|*.*||"
constexpr int kLabelSelect = IDS_LABEL_SELECT;           // "&Select..."
constexpr int kLabelBrowse = IDS_LABEL_BROWSE;           // "&Browse..."
constexpr int kLabelStartupFolder = IDS_LABEL_STARTUP_FOLDER;    // "Startup f&older :"
constexpr int kLabelComputer = IDS_LABEL_COMPUTER;         // "C&omputer :"

// What the page shows for a task type (0..3; anything else as Application).
struct CommandPageLayout {
    int commandLabel;       // kLabelCommand or kLabelMessage
    int folderLabel;        // kLabelStartupFolder or kLabelComputer
    int browseText;         // the Command's browse button: kLabelBrowse or kLabelSelect
    bool browseEnabled;     // off for Message
    bool advancedEnabled;   // Application and Document
    bool minimizedEnabled;  // Application and Document
    bool folderIsTargets;   // Message and Shut down: the folder browser is the network browser
    bool browseShutdown;    // Shut down: the Command's button opens Shut Down Windows
    int fileFilter;         // the Command's file dialog: kFilterProgramsFirst for Application
};
CommandPageLayout commandPageLayout(int type);

// What AutoQuote asks of the disk: whether a file (not a folder) is at a path,
// and where a program named without a full path is looked for after the task's
// startup folder, in order (the system folders, then the PATH). Without
// fileExists nothing is found.
struct ProgramSearch {
    std::function<bool(const std::string& path)> fileExists;
    std::vector<std::string> folders;
};

// The page's controls and what the page knows around them.
struct CommandControls {
    std::string name;
    std::string command;
    std::string folder;
    int type = kTypeApplication;  // the checked radio, 0..3
    bool active = false;
    bool runOnce = false;
    bool minimized = false;
    bool interactive = false;
    bool autoQuote = false;   // the Terminal's AutoQuote setting
    ProgramSearch programSearch;  // where AutoQuote looks for the program
    std::string openingName;  // the task's name when the sheet opened
    bool wizard = false;      // the wizard's page: any existing name is taken; no Interactive byte
    bool isNt = true;         // the system is of the Windows NT platform
};

// Whether another task of the schedule has this (trimmed) name.
using NameExists = std::function<bool(const std::string& trimmedName)>;
// The question 7690 about remote targets on 95/98/Me: true for Yes.
using RemoteQuestion = std::function<bool()>;

struct CommandOutcome {
    bool ok;
    int messageId;  // the refusal's message; 0 when accepted or when the question got No
};

// Validate and store. Texts are read as their boxes hold them (name 64
// characters, command and folder 511, longer texts cut) and trimmed. The record
// is written once the name, command and duplicate checks pass, and stays written
// when a later check refuses (the page stays open and writes it again).
CommandOutcome storeCommand(const CommandControls& controls, TaskRecord& record,
                            const NameExists& nameExists, const RemoteQuestion& askRemote);

// AutoQuote: the command line with its program part enclosed in double quotes
// when that part holds a blank, the arguments after it as typed. The program
// part is found as CreateProcess finds it in an unquoted command line: the
// shortest start of the text that ends at a blank (or the end) and names a file,
// with ".exe" appended when its name has no extension; a name without a full
// path is looked for in the startup folder (when given) and the search's
// folders. The text comes back as typed when AutoQuote is off, the text holds a
// double quote (quoted already, or by hand), no start names a file, the program
// part holds no blank, or the quoted text would not fit the field (a command
// stays as typed rather than losing its end).
std::string autoQuoted(std::string_view text, bool autoQuote, const ProgramSearch& search,
                       std::string_view startupFolder = {});

// A seconds field of Advanced process settings: trimmed, the blanks inside it
// removed ("99 999" is 99999), read as C atoi reads it (blank or non-numeric
// text is 0, digits end at the first other character); -1 when outside
// 0..99999 (message kMsgInvalidSeconds).
int32_t processSeconds(std::string_view text);

// Advanced process settings' OK, with the page's AutoQuote setting.
struct AdvancedControls {
    std::string killAfter;
    std::string quitAfter;
    std::string onError;
};
struct AdvancedOutcome {
    int messageId = 0;  // 0 or kMsgInvalidSeconds
    int32_t killAfter = 0;
    int32_t quitAfter = 0;
    std::string onError;  // trimmed, quoted as autoQuoted says
};
// The on-error command starts in the scheduler's folder, not the task's: it is
// looked for in the search's folders only.
AdvancedOutcome checkAdvanced(const AdvancedControls& controls, bool autoQuote, const ProgramSearch& search);
// The Quit after box and its spin: only for Application tasks.
bool quitAfterEnabled(int type);

// Shut Down Windows: the choice (0 TURNOFF, 1 SHUTDOWN, 2 REBOOT, 3 LOGOFF, the
// order of its radio buttons) that the Command selects, trimmed and in any case;
// TURNOFF when it names none. And the keyword a choice writes.
int shutdownChoiceFor(std::string_view command);
std::string shutdownKeywordFor(int choice);

// Shift-insertion at the caret: the text before the selection start, the
// inserted text, and the rest (a selection is not replaced). The caret is
// clamped to the text.
std::string insertAtCaret(std::string_view text, std::size_t selectionStart, std::string_view inserted);

}  // namespace kzo
