// kill.exe's arguments, its matching of image names and its exit code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kill_command_line.h"

namespace kzo {
namespace {

using Action = KillCommand::Action;

std::string describe(const KillCommand& command) {
    std::string text = command.force ? "force" : "ask";
    for (const KillTarget& target : command.targets)
        text += target.byId ? " #" + std::to_string(target.id) : " " + target.imageName;
    return text;
}

TEST(KillCommandLine, TargetsAndForce) {
    struct Case {
        std::vector<std::string> arguments;
        const char* parsed;
    } cases[] = {
        {{"notepad.exe"}, "ask notepad.exe"},
        {{"1234"}, "ask #1234"},
        {{"/f", "notepad.exe"}, "force notepad.exe"},
        {{"notepad", "-F"}, "force notepad"},
        {{"/F", "a.exe", "42", "b"}, "force a.exe #42 b"},
        {{"4294967295"}, "ask #4294967295"},
        {{"12ab"}, "ask 12ab"},  // not all digits: a name
        {{"", "x.exe"}, "ask x.exe"},
    };
    for (const Case& c : cases) {
        KillCommand command = parseKillCommand(c.arguments);
        EXPECT_EQ(Action::Kill, command.action) << c.parsed;
        EXPECT_EQ(c.parsed, describe(command));
    }
}

TEST(KillCommandLine, HelpAndWrongArguments) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
    } cases[] = {
        {{"/?"}, Action::Help},
        {{"-h"}, Action::Help},
        {{"--help"}, Action::Help},
        {{"x.exe", "/?"}, Action::Help},
        {{}, Action::Usage},
        {{"/f"}, Action::Usage},          // nothing to end
        {{"/x", "a.exe"}, Action::Usage},  // unknown option
        {{"0"}, Action::Usage},           // no process has id 0
        {{"4294967296"}, Action::Usage},  // past 32 bits
        {{"00000000001"}, Action::Usage},  // more than 10 digits
    };
    for (const Case& c : cases) {
        KillCommand command = parseKillCommand(c.arguments);
        EXPECT_EQ(c.action, command.action) << (c.arguments.empty() ? "(none)" : c.arguments[0]);
        if (c.action == Action::Usage) {
            EXPECT_FALSE(command.error.empty());
        }
    }
}

TEST(KillCommandLine, ImageNames) {
    struct Case {
        const char* named;
        const char* image;
        bool matches;
    } cases[] = {
        {"notepad.exe", "notepad.exe", true},
        {"NOTEPAD.EXE", "Notepad.exe", true},
        {"notepad", "notepad.exe", true},
        {"notepad", "NOTEPAD.EXE", true},
        {"notepad", "notepad.com", false},
        {"notepad.e", "notepad.exe", false},
        {"note", "notepad.exe", false},
        {"notepad.exe", "C:\\WINDOWS\\NOTEPAD.EXE", true},  // 95/98/Me report full paths
        {"C:\\tools\\notepad.exe", "notepad.exe", true},
        {"pad.exe", "notepad.exe", false},
        {"", "notepad.exe", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.matches, imageNameMatches(c.named, c.image)) << c.named << " / " << c.image;
}

TEST(KillCommandLine, ExitCode) {
    EXPECT_EQ(kKillEnded, killExitCode(0, 0));
    EXPECT_EQ(kKillNotFound, killExitCode(1, 0));
    EXPECT_EQ(kKillNotEnded, killExitCode(0, 1));
    EXPECT_EQ(kKillNotEnded, killExitCode(2, 1));
}

}  // namespace
}  // namespace kzo
