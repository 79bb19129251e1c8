// The Command page, Advanced process settings and Shut Down Windows over any
// texts the boxes can hold, in a single- or a double-byte code page: Apply
// refuses with one of its messages and leaves the record alone until the
// name, command and duplicate checks pass; what it writes is the boxes' text
// cut at a whole character and trimmed, each field terminated; AutoQuote only
// encloses a start of the command that holds a blank, keeps the arguments as
// typed and stays within the field; the seconds boxes read 0..99999 or refuse;
// a keyword's choice gives that keyword back.
//
// Input: two bytes of flags, a byte for the caret, then the texts of the
// name, command, folder, opening name, kill and quit boxes, on-error command
// and an inserted text, separated by '\n'.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "blanks.h"
#include "code_page.h"
#include "command_rules.h"
#include "fuzz_input.h"
#include "shutdown_keyword.h"

namespace {

using namespace kzo;

bool sameBytes(const TaskRecord& a, const TaskRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Edit boxes hold no NUL.
std::vector<std::string> boxTexts(std::string_view text, std::size_t count) {
    std::vector<std::string> out(count);
    std::size_t box = 0;
    for (char c : text) {
        if (c == '\n' && box + 1 < count) {
            ++box;
        } else if (c != '\0') {
            out[box] += c;
        }
    }
    return out;
}

// What a box of that width holds: the text cut to the width, one character
// less when a double-byte character or a line break would straddle the cut,
// and trimmed.
bool isBoxText(const std::string& stored, const std::string& typed, std::size_t width) {
    if (typed.size() <= width) return stored == trimBlanks(typed);
    return stored == trimBlanks(typed.substr(0, width)) || stored == trimBlanks(typed.substr(0, width - 1));
}

template <std::size_t N>
bool terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

void checkAutoQuoted(const std::string& result, const std::string& text) {
    FUZZ_CHECK(result.size() <= kCommandWidth || result == text);
    if (result == text) return;
    // "program part" and the arguments as typed.
    FUZZ_CHECK(text.find('"') == std::string::npos);
    FUZZ_CHECK(result.size() == text.size() + 2 && result.front() == '"');
    std::size_t close = result.find('"', 1);
    FUZZ_CHECK(close != std::string::npos);
    std::string program = result.substr(1, close - 1);
    FUZZ_CHECK(program + result.substr(close + 1) == text);
    FUZZ_CHECK(program.find_first_of(" \t") != std::string::npos);
    FUZZ_CHECK(program.back() != ' ' && program.back() != '\t');
    FUZZ_CHECK(close + 1 == result.size() || result[close + 1] == ' ' || result[close + 1] == '\t');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t flags = input.byte();
    const std::uint8_t more = input.byte();
    const std::size_t caret = input.byte();
    fuzz::useDoubleByteCodePage(more & 2);
    std::vector<std::string> texts = boxTexts(input.rest(), 8);

    // A disk whose files are a fixed share of the names asked.
    const std::size_t share = 1 + ((more >> 2) & 3);
    ProgramSearch search;
    search.fileExists = [share](const std::string& path) {
        FUZZ_CHECK(!path.empty());
        return std::hash<std::string>{}(path) % share == 0;
    };
    search.folders = {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS", "", "C:\\Program Files\\Tools\\"};

    CommandControls c;
    c.type = flags & 7;  // 4..7: bytes no page writes, read as Application
    c.active = flags & 8;
    c.runOnce = flags & 0x10;
    c.minimized = flags & 0x20;
    c.interactive = flags & 0x40;
    c.wizard = flags & 0x80;
    c.isNt = more & 1;
    c.autoQuote = more & 0x10;
    c.name = texts[0];
    c.command = texts[1];
    c.folder = texts[2];
    c.openingName = texts[3];
    c.programSearch = search;

    TaskRecord before = newTaskRecord(3);
    TaskRecord record = before;
    bool askedName = false;
    const bool nameTaken = more & 0x20;
    int remoteQuestions = 0;
    CommandOutcome outcome = storeCommand(
        c, record,
        [&](const std::string& name) {
            askedName = true;
            FUZZ_CHECK(!name.empty() && name.front() != ' ' && name.back() != ' ');
            return nameTaken;
        },
        [&] {
            ++remoteQuestions;
            return bool(more & 0x40);
        });
    const int type = c.type >= 0 && c.type <= 3 ? c.type : 0;
    FUZZ_CHECK(remoteQuestions <= 1);
    const bool written = !sameBytes(before, record);
    if (!outcome.ok) {
        const int m = outcome.messageId;
        FUZZ_CHECK(m == 0 || m == kMsgShutdownKeyword || m == kMsgNoNameOrCommand || m == kMsgDuplicateName ||
                   m == kMsgDocumentQuote || m == kMsgDocumentCharacters || m == kMsgFolderCharacters);
        if (m == 0) FUZZ_CHECK(remoteQuestions == 1);
        if (m == kMsgShutdownKeyword || m == kMsgNoNameOrCommand || m == kMsgDuplicateName) FUZZ_CHECK(!written);
        if (m == kMsgDuplicateName) FUZZ_CHECK(askedName && nameTaken);
        if (!written) return 0;
    } else {
        FUZZ_CHECK(outcome.messageId == 0);
    }
    // Written: the boxes' texts, whole characters, terminated.
    FUZZ_CHECK(terminated(record.name) && terminated(record.command) && terminated(record.folder));
    const std::string name = fieldText(record.name);
    const std::string command = fieldText(record.command);
    const std::string folder = fieldText(record.folder);
    FUZZ_CHECK(!name.empty() && isBoxText(name, c.name, kNameWidth));
    FUZZ_CHECK(record.type == type);
    FUZZ_CHECK(record.active == (c.active ? 1 : 0) && record.runMinimized == (c.minimized ? 1 : 0));
    FUZZ_CHECK(record.runOnce == (c.runOnce ? kRunOnceYes : kRunOnceNo));
    FUZZ_CHECK(record.interactive == (c.wizard ? before.interactive : (c.interactive ? 1 : 0)));
    if (type == kTypeShutdown) FUZZ_CHECK(shutdownKeywordIndex(command) >= 0);
    if (type == kTypeApplication && c.autoQuote && command.front() == '"' && c.command.find('"') == std::string::npos) {
        const std::size_t close = command.find('"', 1);
        FUZZ_CHECK(close != std::string::npos);
        const std::string plain = command.substr(1, close - 1) + command.substr(close + 1);
        FUZZ_CHECK(isBoxText(plain, c.command, kCommandWidth));
        checkAutoQuoted(command, plain);
    } else {
        FUZZ_CHECK(isBoxText(command, c.command, kCommandWidth));
    }
    // The targets of a Message or Shut down task are separated by commas once
    // the folder's characters pass.
    const bool targets = type == kTypeMessage || type == kTypeShutdown;
    if (targets && outcome.messageId != kMsgFolderCharacters) FUZZ_CHECK(folder.find(';') == std::string::npos);
    else FUZZ_CHECK(isBoxText(folder, c.folder, kCommandWidth));

    // AutoQuote of the command as the Application page takes it.
    const std::string typed = trimBlanks(c.command.substr(0, kCommandWidth));
    checkAutoQuoted(autoQuoted(typed, true, search, folder), typed);
    FUZZ_CHECK(autoQuoted(typed, false, search, folder) == typed);

    // Advanced process settings.
    AdvancedControls advanced{texts[4], texts[5], texts[6]};
    AdvancedOutcome out = checkAdvanced(advanced, c.autoQuote, search);
    const int32_t kill = processSeconds(texts[4]);
    const int32_t quit = processSeconds(texts[5]);
    FUZZ_CHECK(kill >= -1 && kill <= 99999 && quit >= -1 && quit <= 99999);
    FUZZ_CHECK((out.messageId == kMsgInvalidSeconds) == (kill < 0 || quit < 0));
    if (out.messageId == 0) {
        FUZZ_CHECK(out.killAfter == kill && out.quitAfter == quit);
        FUZZ_CHECK(out.onError.size() <= kCommandWidth);
    }
    // Digits alone (blanks anywhere among them) read as their number.
    std::string digits;
    bool onlyDigits = true;
    for (char ch : texts[4]) {
        if (ch >= '0' && ch <= '9') digits += ch;
        else if (ch != ' ') onlyDigits = false;
    }
    if (onlyDigits && digits.size() <= 5) FUZZ_CHECK(kill == (digits.empty() ? 0 : std::stoi(digits)));

    // Shut Down Windows: a choice's keyword selects that choice again.
    const int choice = shutdownChoiceFor(c.command);
    FUZZ_CHECK(choice >= 0 && choice <= 3);
    FUZZ_CHECK(shutdownChoiceFor(shutdownKeywordFor(choice)) == choice);
    FUZZ_CHECK(shutdownChoiceFor(shutdownKeywordFor(flags)) == ((flags <= 3) ? flags : 0));

    // Shift-insertion keeps both texts whole.
    std::string inserted = insertAtCaret(c.command, caret, texts[7]);
    FUZZ_CHECK(inserted.size() == c.command.size() + texts[7].size());
    const std::size_t at = caret < c.command.size() ? caret : c.command.size();
    FUZZ_CHECK(inserted.compare(0, at, c.command, 0, at) == 0 && inserted.compare(at, texts[7].size(), texts[7]) == 0);
    return 0;
}
