#include "command_rules.h"

#include <algorithm>
#include <climits>

#include "blanks.h"
#include "shutdown_keyword.h"
#include "text_units.h"

namespace kzo {

namespace {

constexpr int32_t kMaxSeconds = 99999;

int knownType(int type) { return type >= kTypeApplication && type <= kTypeShutdown ? type : kTypeApplication; }

// What a box of that width holds, never ending inside a double-byte character,
// trimmed.
std::string boxText(std::string_view text, std::size_t width) {
    return trimBlanks(text.substr(0, wholeUnitsWithin(text, width, systemLeadByte)));
}

bool containsAny(std::string_view text, std::string_view characters) {
    return text.find_first_of(characters) != std::string_view::npos;
}

// Where CreateProcess ends a program name in an unquoted command line.
bool isCommandBlank(char c) { return c == ' ' || c == '\t'; }

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Whether the file name (after the last separator) has an extension, walking
// whole characters: a trail byte may look like a backslash.
bool hasExtension(std::string_view path) {
    bool dot = false;
    for (std::size_t i = 0; i < path.size(); i += textUnitLength(path, i, systemLeadByte)) {
        if (isSeparator(path[i]) || path[i] == ':')
            dot = false;
        else if (path[i] == '.')
            dot = true;
    }
    return dot;
}

// A path from a drive or a root ("C:\x", "C:x", "\x", "\\server\x") is taken
// as it stands; other names are looked for in the folders.
bool isFullPath(std::string_view path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && isSeparator(path[0]));
}

std::string inFolder(std::string_view folder, const std::string& name) {
    std::string path(folder);
    if (!isSeparator(path.back())) path += '\\';
    return path + name;
}

// Whether CreateProcess would start this start of a command line: the name
// with ".exe" appended when it has no extension, in the folders unless it is
// a full path.
bool namesProgram(const std::string& start, const ProgramSearch& search, std::string_view startupFolder) {
    if (!search.fileExists) return false;
    const std::string name = hasExtension(start) ? start : start + ".exe";
    if (isFullPath(start)) return search.fileExists(name);
    if (!startupFolder.empty() && search.fileExists(inFolder(startupFolder, name))) return true;
    for (const std::string& folder : search.folders)
        if (!folder.empty() && search.fileExists(inFolder(folder, name))) return true;
    return false;
}

}  // namespace

CommandPageLayout commandPageLayout(int type) {
    type = knownType(type);
    const bool targets = type == kTypeMessage || type == kTypeShutdown;
    CommandPageLayout l;
    l.commandLabel = type == kTypeMessage ? kLabelMessage : kLabelCommand;
    l.folderLabel = targets ? kLabelComputer : kLabelStartupFolder;
    l.browseText = type == kTypeShutdown ? kLabelSelect : kLabelBrowse;
    l.browseEnabled = type != kTypeMessage;
    l.advancedEnabled = !targets;
    l.minimizedEnabled = !targets;
    l.folderIsTargets = targets;
    l.browseShutdown = type == kTypeShutdown;
    l.fileFilter = type == kTypeApplication ? kFilterProgramsFirst : kFilterAllFirst;
    return l;
}

std::string autoQuoted(std::string_view text, bool autoQuote, const ProgramSearch& search,
                       std::string_view startupFolder) {
    std::string typed(text);
    if (!autoQuote || containsAny(text, "\"")) return typed;
    // Each start that ends at a blank after a non-blank, shortest first, then
    // the whole text (a blank is never the trail byte of a double-byte
    // character).
    for (std::size_t i = 1; i <= text.size(); ++i) {
        if ((i < text.size() && !isCommandBlank(text[i])) || isCommandBlank(text[i - 1])) continue;
        std::string program(text.substr(0, i));
        if (!namesProgram(program, search, startupFolder)) continue;
        if (!containsAny(program, " \t") || typed.size() + 2 > kCommandWidth) return typed;
        return "\"" + program + "\"" + std::string(text.substr(i));
    }
    return typed;
}

CommandOutcome storeCommand(const CommandControls& c, TaskRecord& record,
                            const NameExists& nameExists, const RemoteQuestion& askRemote) {
    const int type = knownType(c.type);
    const std::string name = boxText(c.name, kNameWidth);
    const std::string command = boxText(c.command, kCommandWidth);

    if (type == kTypeShutdown && shutdownKeywordIndex(command) < 0)
        return {false, kMsgShutdownKeyword};
    if (name.empty() || command.empty()) return {false, kMsgNoNameOrCommand};
    const bool keepsItsName = !c.wizard && name == boxText(c.openingName, kNameWidth);
    if (!keepsItsName && nameExists && nameExists(name)) return {false, kMsgDuplicateName};

    std::string folder = boxText(c.folder, kCommandWidth);
    setField(record.name, name);
    setField(record.folder, folder);
    record.active = c.active ? 1 : 0;
    record.runOnce = c.runOnce ? kRunOnceYes : kRunOnceNo;
    record.runMinimized = c.minimized ? 1 : 0;
    if (!c.wizard) record.interactive = c.interactive ? 1 : 0;
    record.type = static_cast<int8_t>(type);
    setField(record.command,
             type == kTypeApplication ? autoQuoted(command, c.autoQuote, c.programSearch, folder) : command);

    if (type == kTypeDocument && containsAny(command, "\"")) return {false, kMsgDocumentQuote};
    if (type == kTypeDocument && containsAny(command, "?<>")) return {false, kMsgDocumentCharacters};
    if (containsAny(folder, "\"|?<>")) return {false, kMsgFolderCharacters};

    if (type == kTypeApplication || type == kTypeDocument) return {true, 0};
    std::replace(folder.begin(), folder.end(), ';', ',');
    setField(record.folder, folder);
    if (folder.empty() || folder == "." || c.isNt) return {true, 0};
    if (askRemote && askRemote()) return {true, 0};
    return {false, 0};
}

int32_t processSeconds(std::string_view text) {
    std::string digits;
    for (char ch : text)
        if (ch != ' ') digits += ch;
    // C atoi: an optional sign, then digits up to the first other character.
    std::size_t i = 0;
    bool negative = false;
    if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
    int64_t value = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i)
        if (value <= kMaxSeconds) value = value * 10 + (digits[i] - '0');
    if (negative) value = -value;
    return value >= 0 && value <= kMaxSeconds ? static_cast<int32_t>(value) : -1;
}

AdvancedOutcome checkAdvanced(const AdvancedControls& controls, bool autoQuote, const ProgramSearch& search) {
    AdvancedOutcome out;
    out.killAfter = processSeconds(controls.killAfter);
    out.quitAfter = processSeconds(controls.quitAfter);
    if (out.killAfter < 0 || out.quitAfter < 0) {
        out.messageId = kMsgInvalidSeconds;
        return out;
    }
    out.onError = autoQuoted(boxText(controls.onError, kCommandWidth), autoQuote, search);
    return out;
}

bool quitAfterEnabled(int type) { return knownType(type) == kTypeApplication; }

int shutdownChoiceFor(std::string_view command) {
    int index = shutdownKeywordIndex(trimBlanks(command));
    return index < 0 ? 0 : index;
}

std::string shutdownKeywordFor(int choice) {
    std::string_view keyword = shutdownKeywordAt(choice);
    return std::string(keyword.empty() ? shutdownKeywordAt(0) : keyword);
}

std::string insertAtCaret(std::string_view text, std::size_t selectionStart, std::string_view inserted) {
    std::size_t at = std::min(selectionStart, text.size());
    std::string out(text.substr(0, at));
    out += inserted;
    out += text.substr(at);
    return out;
}

}  // namespace kzo
