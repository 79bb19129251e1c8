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

std::string autoQuoted(std::string_view text, bool autoQuote) {
    if (!autoQuote || text.empty() || text.find('"') != std::string_view::npos ||
        text.size() + 2 > kCommandWidth)
        return std::string(text);
    return "\"" + std::string(text) + "\"";
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
    setField(record.command, type == kTypeApplication ? autoQuoted(command, c.autoQuote) : command);

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

AdvancedOutcome checkAdvanced(const AdvancedControls& controls, bool autoQuote) {
    AdvancedOutcome out;
    out.killAfter = processSeconds(controls.killAfter);
    out.quitAfter = processSeconds(controls.quitAfter);
    if (out.killAfter < 0 || out.quitAfter < 0) {
        out.messageId = kMsgInvalidSeconds;
        return out;
    }
    out.onError = autoQuoted(boxText(controls.onError, kCommandWidth), autoQuote);
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
