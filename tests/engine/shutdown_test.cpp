// The shutdown runner through a recording double: which local and remote
// shutdowns happen for each keyword, list and platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_actions.h"
#include "shutdown.h"

namespace kzo {
namespace {

using test::Events;
using test::RecordingActions;
using test::operator+;

const std::string kLocalPrivilege = "enablePrivilege SeShutdownPrivilege";
const std::string kRemotePrivilege = "enablePrivilege SeRemoteShutdownPrivilege";

Events local(int flags) { return {"sleep 3000", "exitWindows " + std::to_string(flags)}; }

std::string remote(const std::string& computer, bool restart) {
    return "initiateShutdown " + computer + " \"The computer is about to shut down.\" 20s force" +
           (restart ? " restart" : " stay-off");
}

enum class Platform { Nt, Win9x };

struct Case {
    const char* what;
    const char* keyword;
    const char* computers;
    Platform platform;
    bool privilegesRefused;
    Events events;
};

TEST(ShutdownRunner, ShutsDownTheListedComputersWithTheKeywordsMode) {
    const Case cases[] = {
        {"lower-case keyword, empty list", "reboot", "", Platform::Nt, false,
         Events{kLocalPrivilege} + local(kExitReboot | kExitForce)},
        {"unknown keyword powers off", "RESTART", "", Platform::Nt, false,
         Events{kLocalPrivilege} + local(kExitPowerOff | kExitForce)},
        {"logoff restarts a remote computer", "LOGOFF", "PC2", Platform::Nt, false,
         {kRemotePrivilege, remote("PC2", true)}},
        {"local first, the remote right after", "SHUTDOWN", ".,PC2", Platform::Nt, false,
         Events{kLocalPrivilege} + local(kExitShutdown | kExitForce) +
             Events{kRemotePrivilege, remote("PC2", false)}},
        {"turnoff leaves remote computers off", "TURNOFF", " PC1 , , PC2 ", Platform::Nt, false,
         {kRemotePrivilege, remote("PC1", false), kRemotePrivilege, remote("PC2", false)}},
        {"logoff of the local computer", "logoff", ".", Platform::Nt, false,
         Events{kLocalPrivilege} + local(kExitLogoff | kExitForce)},
        {"a list of blanks and commas", "SHUTDOWN", " , ", Platform::Nt, false, {}},
        {"no privilege: nothing happens", "SHUTDOWN", ".,PC2", Platform::Nt, true,
         {kLocalPrivilege + ": refused", kRemotePrivilege + ": refused"}},
        {"no privilege, empty list", "REBOOT", "", Platform::Nt, true,
         {kLocalPrivilege + ": refused"}},
        {"95/98/Me: no privilege step", "REBOOT", ".,PC2", Platform::Win9x, true,
         local(kExitReboot | kExitForce) + Events{remote("PC2", true)}},
    };
    for (const Case& c : cases) {
        RecordingActions actions;
        actions.ntPlatform = c.platform == Platform::Nt;
        if (c.privilegesRefused) {
            actions.refusedPrivileges = {"SeShutdownPrivilege", "SeRemoteShutdownPrivilege"};
        }
        EXPECT_EQ(runShutdown(actions, c.keyword, c.computers), 0) << c.what;
        EXPECT_EQ(actions.events(), c.events) << c.what;
    }
}

TEST(ShutdownRunner, AStarEntryShutsDownTheWholeBrowseList) {
    for (const char* entry : {"*", "**", "PC*"}) {
        RecordingActions actions;
        actions.serverEnumAnswers = {{234, {L"PC1"}}, {0, {L"PC2"}}};
        runShutdown(actions, "REBOOT", entry);
        EXPECT_EQ(actions.events(),
                  (Events{"loadNetApi", "serverEnum", kRemotePrivilege, remote("PC1", true),
                          "serverEnum", kRemotePrivilege, remote("PC2", true), "releaseNetApi"}))
            << "entry " << entry;
    }

    RecordingActions stopped;
    stopped.serverEnumAnswers = {{6118, {L"PC1"}}};
    runShutdown(stopped, "REBOOT", "*,PC3");
    EXPECT_EQ(stopped.events(), (Events{"loadNetApi", "serverEnum", "releaseNetApi",
                                        kRemotePrivilege, remote("PC3", true)}));

    RecordingActions noLibrary;
    noLibrary.netApiPresent = false;
    runShutdown(noLibrary, "REBOOT", "*,PC3");
    EXPECT_EQ(noLibrary.events(),
              (Events{"loadNetApi: missing", kRemotePrivilege, remote("PC3", true)}));

    RecordingActions noEnum;
    noEnum.serverEnumPresent = false;
    EXPECT_FALSE(shutdownBrowseList(noEnum, kExitReboot));
    EXPECT_EQ(noEnum.events(), (Events{"loadNetApi", "releaseNetApi"}));
}

TEST(ShutdownRunner, ResultsOfTheLocalAndRemoteShutdowns) {
    RecordingActions refused;
    refused.refusedPrivileges = {"SeShutdownPrivilege", "SeRemoteShutdownPrivilege"};
    EXPECT_EQ(shutdownLocal(refused, kExitShutdown), 0);
    EXPECT_EQ(shutdownRemote(refused, kExitShutdown, "PC2"), 0);

    RecordingActions granted;
    EXPECT_EQ(shutdownLocal(granted, kExitShutdown), 1);
    EXPECT_EQ(shutdownRemote(granted, kExitShutdown, "PC2"), 1);
    granted.exitWindowsResult = false;
    granted.initiateShutdownResult = false;
    EXPECT_EQ(shutdownLocal(granted, kExitShutdown), 0);
    EXPECT_EQ(shutdownRemote(granted, kExitShutdown, "PC2"), 0);

    // An empty name would be the local computer to the system.
    RecordingActions empty;
    EXPECT_EQ(shutdownRemote(empty, kExitShutdown, ""), 0);
    EXPECT_TRUE(empty.events().empty());
}

}  // namespace
}  // namespace kzo
