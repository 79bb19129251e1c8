// The Command page's Validate and store, and its Advanced process settings and
// Shut Down Windows dialogs.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "command_rules.h"

namespace kzo {
namespace {

// A disk with the system folders C:\Windows\System32 and C:\Windows, and
// C:\Tools on the PATH.
ProgramSearch fakeDisk() {
    static const std::set<std::string> files = {
        "C:\\Program Files\\App\\app.exe", "C:\\Windows\\System32\\cmd.exe", "C:\\Windows\\notepad.exe",
        "C:\\Tools\\My Tool.exe",           "C:\\Jobs\\run job.bat",
    };
    ProgramSearch search;
    search.fileExists = [](const std::string& path) { return files.count(path) > 0; };
    search.folders = {"C:\\Windows\\System32", "C:\\Windows", "C:\\Tools\\"};
    return search;
}

// The page of the task "Backup" in a schedule that also holds "Report".
CommandControls page(const char* name, const char* command, int type = kTypeApplication) {
    CommandControls c;
    c.name = name;
    c.command = command;
    c.type = type;
    c.active = true;
    c.openingName = "Backup";
    return c;
}

struct Stored {
    CommandOutcome outcome;
    TaskRecord record;
    int asked = 0;
};

Stored store(const CommandControls& c, bool yes = true) {
    Stored s;
    s.record = newTaskRecord(1);
    s.record.interactive = 1;
    auto exists = [](const std::string& name) { return name == "Backup" || name == "Report"; };
    s.outcome = storeCommand(c, s.record, exists, [&s, yes] { return ++s.asked, yes; });
    return s;
}

TEST(CommandStore, RefusesWithTheMessageOfTheFirstFailingStep) {
    CommandControls wizard = page("Backup", "a.exe");
    wizard.wizard = true;
    CommandControls badFolder = page("App", "a.exe");
    badFolder.folder = "C:\\a|b";
    struct Case {
        const char* what;
        CommandControls controls;
        int message;
    } const cases[] = {
        {"shut down keyword in any case", page("Off", "  reboot ", kTypeShutdown), 0},
        {"not a keyword", page("Off", "restart", kTypeShutdown), kMsgShutdownKeyword},
        {"keyword before name", page("", "", kTypeShutdown), kMsgShutdownKeyword},
        {"no name", page("   ", "notepad.exe"), kMsgNoNameOrCommand},
        {"no command", page("Edit", "  "), kMsgNoNameOrCommand},
        {"another task's name", page("  Report ", "a.exe"), kMsgDuplicateName},
        {"its own name", page(" Backup  ", "a.exe"), 0},
        {"a name in another case", page("report", "a.exe"), 0},
        {"the wizard takes no existing name", wizard, kMsgDuplicateName},
        {"document with a quote", page("Doc", "\"C:\\a b.txt\"", kTypeDocument), kMsgDocumentQuote},
        {"document with ?", page("Doc", "C:\\a?.txt", kTypeDocument), kMsgDocumentCharacters},
        {"document with <", page("Doc", "print|C:\\<a>.txt", kTypeDocument), kMsgDocumentCharacters},
        {"application with ?", page("App", "find.exe ?"), 0},
        {"message with quotes", page("Msg", "Say \"hi\" <now>?", kTypeMessage), 0},
        {"folder with |", badFolder, kMsgFolderCharacters},
    };
    for (const Case& c : cases) {
        Stored s = store(c.controls);
        EXPECT_EQ(c.message, s.outcome.messageId) << c.what;
        EXPECT_EQ(c.message == 0, s.outcome.ok) << c.what;
    }
}

TEST(AutoQuote, QuotesTheProgramPartWhenItHoldsABlank) {
    struct Case {
        const char* command;
        const char* startupFolder;
        const char* stored;
    } const cases[] = {
        {"C:\\Program Files\\App\\app.exe", "", "\"C:\\Program Files\\App\\app.exe\""},
        {"C:\\Program Files\\App\\app.exe /x  y", "", "\"C:\\Program Files\\App\\app.exe\" /x  y"},
        {"C:\\Program Files\\App\\app\t/x", "", "\"C:\\Program Files\\App\\app\"\t/x"},  // ".exe" appended
        {"My Tool -v", "", "\"My Tool\" -v"},                                         // on the PATH
        {"run job.bat now", "C:\\Jobs", "\"run job.bat\" now"},                      // in the startup folder
        {"run job.bat now", "", "run job.bat now"},
        // The program part holds no blank: as typed.
        {"cmd /c echo made here >> C:\\demo\\wiz.txt", "", "cmd /c echo made here >> C:\\demo\\wiz.txt"},
        {"notepad.exe readme.txt", "", "notepad.exe readme.txt"},
        // No start names a file: left for the user to quote.
        {"C:\\kzo\\tool.exe mark", "", "C:\\kzo\\tool.exe mark"},
        {"C:\\Program Files\\Gone\\app.exe /x", "", "C:\\Program Files\\Gone\\app.exe /x"},
        // Quoted already, or stored whole-quoted by an earlier Terminal.
        {"\"C:\\My App\\a.exe\" /x", "", "\"C:\\My App\\a.exe\" /x"},
        {"\"notepad.exe readme.txt\"", "", "\"notepad.exe readme.txt\""},
        {"", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.stored, autoQuoted(c.command, true, fakeDisk(), c.startupFolder)) << c.command;
    EXPECT_EQ("C:\\Program Files\\App\\app.exe /x",
              autoQuoted("C:\\Program Files\\App\\app.exe /x", false, fakeDisk()));
    EXPECT_EQ("My Tool -v", autoQuoted("My Tool -v", true, ProgramSearch{}));

    // Quoting must not cut the command's end off: 509 characters fit quoted, 510 do not.
    for (std::size_t size : {509u, 510u}) {
        const std::string command = "C:\\a b" + std::string(size - 10, 'x') + ".exe";
        ProgramSearch only{[&](const std::string& path) { return path == command; }, {}};
        EXPECT_EQ(size == 509 ? "\"" + command + "\"" : command, autoQuoted(command, true, only)) << size;
    }
}

TEST(CommandStore, QuotesOnlyApplicationCommandsWithAutoQuote) {
    struct Case {
        const char* command;
        const char* folder;
        int type;
        bool autoQuote;
        const char* stored;
    } const cases[] = {
        {" run job.bat now ", "C:\\Jobs", kTypeApplication, true, "\"run job.bat\" now"},
        {"run job.bat now", "C:\\Jobs", kTypeApplication, false, "run job.bat now"},
        {"C:\\Program Files\\App\\app.exe", "", kTypeDocument, true, "C:\\Program Files\\App\\app.exe"},
        {"My Tool -v", "", kTypeMessage, true, "My Tool -v"},
    };
    for (const Case& c : cases) {
        CommandControls controls = page("Task", c.command, c.type);
        controls.folder = c.folder;
        controls.autoQuote = c.autoQuote;
        controls.programSearch = fakeDisk();
        EXPECT_STREQ(c.stored, store(controls).record.command) << c.command;
    }
}

TEST(CommandStore, WritesTheFieldsOnceTheNameIsGoodEvenWhenALaterStepRefuses) {
    CommandControls c = page("  Letter ", "  C:\\a?.txt ", kTypeDocument);
    c.folder = "  C:\\Docs  ";
    c.runOnce = true;
    c.active = false;
    Stored s = store(c);
    EXPECT_EQ(kMsgDocumentCharacters, s.outcome.messageId);
    EXPECT_STREQ("Letter", s.record.name);
    EXPECT_STREQ("C:\\a?.txt", s.record.command);
    EXPECT_STREQ("C:\\Docs", s.record.folder);
    EXPECT_EQ(kTypeDocument, s.record.type);
    EXPECT_EQ(0, s.record.active);
    EXPECT_EQ(kRunOnceYes, s.record.runOnce);
    EXPECT_EQ(0, s.record.interactive);

    Stored refused = store(page("Report", "x.exe"));
    EXPECT_STREQ("Task 1", refused.record.name);
    EXPECT_STREQ("", refused.record.command);

    c = page("New", "a.exe");
    c.wizard = true;
    EXPECT_EQ(1, store(c).record.interactive);  // the wizard leaves the Interactive byte
}

TEST(CommandStore, TargetListsUseCommasAndAskAboutRemoteTargetsOn9x) {
    struct Case {
        const char* folder;
        int type;
        bool isNt;
        const char* stored;
        bool asked;
    } const cases[] = {
        {"PC1;PC2", kTypeMessage, true, "PC1,PC2", false},
        {"PC2", kTypeShutdown, false, "PC2", true},
        {" PC1 ; PC2 ", kTypeMessage, false, "PC1 , PC2", true},
        {"", kTypeMessage, false, "", false},
        {" . ", kTypeShutdown, false, ".", false},
        {"C:\\a;b", kTypeApplication, false, "C:\\a;b", false},  // a folder keeps its ";"
    };
    for (const Case& c : cases) {
        for (bool yes : {true, false}) {
            CommandControls controls = page("Note", c.type == kTypeShutdown ? "LOGOFF" : "hello", c.type);
            controls.folder = c.folder;
            controls.isNt = c.isNt;
            Stored s = store(controls, yes);
            EXPECT_STREQ(c.stored, s.record.folder) << c.folder;
            EXPECT_EQ(c.asked ? 1 : 0, s.asked) << c.folder;
            EXPECT_EQ(!c.asked || yes, s.outcome.ok) << c.folder;
            EXPECT_EQ(0, s.outcome.messageId) << c.folder;
        }
    }
}

TEST(CommandStore, OverlongBoxesAreReadAsTheBoxesHoldThem) {
    std::string name(10000, 'n'), command(10000, 'c');
    CommandControls c = page(name.c_str(), command.c_str());
    c.folder = std::string(600, 'f');
    c.type = 42;  // no such radio: an Application
    Stored s = store(c);
    EXPECT_TRUE(s.outcome.ok);
    EXPECT_EQ(std::string(64, 'n'), s.record.name);
    EXPECT_EQ(std::string(511, 'c'), s.record.command);
    EXPECT_EQ(std::string(511, 'f'), s.record.folder);
    EXPECT_EQ(kTypeApplication, s.record.type);
}

TEST(AdvancedSettings, SecondsAreReadLikeAtoiWithinTheirRange) {
    struct Case {
        const char* text;
        int32_t seconds;
    } const cases[] = {
        {"99 999", 99999}, {"100000", -1}, {"-1", -1}, {"", 0},    {"abc", 0},  {"12abc", 12},
        {" 5 ", 5},        {"1e3", 1},     {"+7", 7},  {"- 5", -1}, {"99999999999999999999", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.seconds, processSeconds(c.text)) << "'" << c.text << "'";

    AdvancedOutcome out = checkAdvanced({"60", "30", "  My Tool.exe now "}, true, fakeDisk());
    EXPECT_EQ(0, out.messageId);
    EXPECT_EQ("\"My Tool.exe\" now", out.onError);
    EXPECT_EQ("notepad alert.txt", checkAdvanced({"", "", "notepad alert.txt"}, true, fakeDisk()).onError);
    EXPECT_EQ("My Tool.exe now", checkAdvanced({"", "", "My Tool.exe now"}, false, fakeDisk()).onError);
    EXPECT_EQ("", checkAdvanced({"", "", "   "}, true, fakeDisk()).onError);
    EXPECT_EQ(kMsgInvalidSeconds, checkAdvanced({"0", "-1", ""}, true, fakeDisk()).messageId);
}

TEST(ShutDownWindows, ChoiceFollowsTheCommandAndWritesItsKeyword) {
    struct Case {
        const char* command;
        int choice;
    } const cases[] = {{"TURNOFF", 0}, {"shutdown", 1}, {" Reboot ", 2}, {"LOGOFF", 3}, {"restart", 0}};
    for (const Case& c : cases) EXPECT_EQ(c.choice, shutdownChoiceFor(c.command)) << c.command;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(i, shutdownChoiceFor(shutdownKeywordFor(i)));
    EXPECT_EQ("TURNOFF", shutdownKeywordFor(9));
}

TEST(InsertAtCaret, InsertsBeforeTheSelectionWithTheCaretClamped) {
    EXPECT_EQ("aXYbc", insertAtCaret("abc", 1, "XY"));
    EXPECT_EQ("abcXY", insertAtCaret("abc", 999, "XY"));
}

}  // namespace
}  // namespace kzo
