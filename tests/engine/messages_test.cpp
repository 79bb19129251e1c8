// The message sender through a recording double: which displays and sends
// happen for each target list, and how netapi32 is bound and released.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "messages.h"
#include "recording_actions.h"

namespace kzo {
namespace {

using test::Events;
using test::NetLevel;
using test::RecordingActions;
using test::operator+;

// The events of sending "hi" to one name with netapi32 present.
Events sent(const std::string& name) { return {"loadNetApi", "send " + name + ": hi", "releaseNetApi"}; }

TEST(MessageSender, EmptyListShowsTheTextOnTheCallingThread) {
    RecordingActions actions;
    EXPECT_EQ(sendMessage(actions, "hi", "", MessageCaller::Executor), 1);
    EXPECT_EQ(actions.events(), Events{"show hi"});
    EXPECT_EQ(actions.closedDisplayTexts(), Events{"hi"});
}

TEST(MessageSender, SendsToEachNameInOrderSkippingEmptyEntries) {
    struct Case {
        const char* list;
        Events events;
    } cases[] = {
        {"SERVER1, ,USER2", sent("SERVER1") + sent("USER2")},
        {" PC1 ", sent("PC1")},
        {",,", {}},
        {" ", {}},
        {"***", sent("***")},  // only "*" and "**" broadcast
    };
    for (const Case& c : cases) {
        RecordingActions actions;
        sendMessage(actions, "hi", c.list, MessageCaller::Executor);
        EXPECT_EQ(actions.events(), c.events) << "list '" << c.list << "'";
    }
}

TEST(MessageSender, LocalDisplaysRunOnTheirOwnThreadsWithoutHoldingUpTheList) {
    RecordingActions actions;
    actions.blockDisplays();
    char text[16] = "hi";
    sendMessage(actions, text, ". , PC1, .", MessageCaller::Executor);
    // The sender came back while both displays are still open, each 500 ms
    // after the other.
    EXPECT_EQ(actions.eventsWithout("show "), Events{"sleep 500"} + sent("PC1") + Events{"sleep 500"});
    ASSERT_TRUE(actions.waitForDisplays(2, 5000));
    EXPECT_EQ(actions.openDisplays(), 2u);

    // Each display reads its own copy of the text, whatever the caller's buffer
    // holds by the time the user closes it.
    std::strcpy(text, "reused");
    actions.releaseDisplays();
    ASSERT_TRUE(actions.waitForDisplaysClosed(2, 5000));
    EXPECT_EQ(actions.closedDisplayTexts(), (Events{"hi", "hi"}));
}

TEST(MessageSender, LengthInBytesCountsTheTerminatingZero) {
    RecordingActions actions;
    sendMessage(actions, "hello", "PC1", MessageCaller::Executor);
    EXPECT_EQ(actions.sentBytes(), std::vector<std::uint32_t>{12});
}

TEST(MessageSender, MissingNetworkFunctionsEndOnlyThatTarget) {
    RecordingActions noLibrary;
    noLibrary.netApiPresent = false;
    EXPECT_EQ(sendToName(noLibrary, "hi", "PC1", MessageCaller::Executor), 0);
    sendMessage(noLibrary, "hi", "PC1,PC2", MessageCaller::Executor);
    EXPECT_EQ(noLibrary.events(),
              (Events{"loadNetApi: missing", "loadNetApi: missing", "loadNetApi: missing"}));

    RecordingActions noSend;
    noSend.messageSendPresent = false;
    EXPECT_EQ(sendToName(noSend, "hi", "PC1", MessageCaller::Executor), 0);
    EXPECT_EQ(noSend.events(), (Events{"loadNetApi", "releaseNetApi"}));

    RecordingActions present;
    EXPECT_EQ(sendToName(present, "hi", "PC1", MessageCaller::Executor), 1);
}

TEST(BrowseListBroadcast, SendsToEveryComputerAcrossMoreDataAnswers) {
    RecordingActions actions;
    actions.serverEnumAnswers = {{234, {L"PC1", L"PC2"}}, {234, {L"PC3"}}, {0, {L"PC4"}}};
    sendMessage(actions, "hi", "*", MessageCaller::Executor);
    EXPECT_EQ(actions.events(),
              (Events{"loadNetApi", "serverEnum", "send PC1: hi", "send PC2: hi", "serverEnum",
                      "send PC3: hi", "serverEnum", "send PC4: hi", "releaseNetApi"}));
}

TEST(BrowseListBroadcast, StopCodesSendNothing) {
    for (std::uint32_t status : {5u, 2351u, 6118u}) {
        RecordingActions actions;
        actions.serverEnumAnswers = {{status, {L"PC1"}}};
        sendMessage(actions, "hi", "*", MessageCaller::Executor);
        EXPECT_EQ(actions.events(), (Events{"loadNetApi", "serverEnum", "releaseNetApi"}))
            << "status " << status;
    }
}

TEST(BrowseListBroadcast, AListThatRepeatsItselfIsServedOnceAndEnds) {
    // Without a resume handle a "more data" answer may bring the same part again.
    RecordingActions actions;
    actions.serverEnumAnswers = {{234, {L"PC1", L"PC2"}}, {234, {L"PC2", L"PC3"}}};
    sendMessage(actions, "hi", "*", MessageCaller::Executor);
    EXPECT_EQ(actions.events(),
              (Events{"loadNetApi", "serverEnum", "send PC1: hi", "send PC2: hi", "serverEnum",
                      "send PC3: hi", "serverEnum", "releaseNetApi"}));
}

TEST(BrowseListBroadcast, NeedsTheSendAndEnumerationFunctions) {
    RecordingActions noEnum;
    noEnum.serverEnumPresent = false;
    EXPECT_EQ(sendToName(noEnum, "hi", "*", MessageCaller::Executor), 0);
    RecordingActions noSend;
    noSend.messageSendPresent = false;
    EXPECT_EQ(sendToName(noSend, "hi", "*", MessageCaller::Executor), 0);
    for (RecordingActions* actions : {&noEnum, &noSend}) {
        EXPECT_EQ(actions->events(), (Events{"loadNetApi", "releaseNetApi"}));
    }
    // Freeing the buffer is done only when the function is there; it is not
    // needed to broadcast.
    RecordingActions noFree;
    noFree.bufferFreePresent = false;
    noFree.serverEnumAnswers = {{0, {L"PC1"}}};
    EXPECT_EQ(sendToName(noFree, "hi", "*", MessageCaller::Executor), 1);
    EXPECT_EQ(noFree.events(), (Events{"loadNetApi", "serverEnum", "send PC1: hi", "releaseNetApi"}));
}

NetResource resource(const char* name, std::uint32_t displayType, std::uint32_t usage) {
    NetResource r;
    r.remoteName = name;
    r.displayType = displayType;
    r.usage = usage;
    return r;
}

TEST(AllDomainsBroadcast, DoubleStarIsTheBrowseListForExecutorsAndEveryDomainForTheTerminal) {
    RecordingActions executor;
    executor.serverEnumAnswers = {{0, {L"PC1"}}};
    sendMessage(executor, "hi", "**", MessageCaller::Executor);
    EXPECT_EQ(executor.events(),
              (Events{"loadNetApi", "serverEnum", "send PC1: hi", "releaseNetApi"}));

    RecordingActions terminal;
    terminal.network[""] = NetLevel{0, {{0, {resource("NET", 0, kResourceUsageContainer)}}}};
    terminal.network["NET"] =
        NetLevel{0, {{0, {resource("DOM1", kResourceDisplayDomain, kResourceUsageContainer),
                          resource("DOM2", kResourceDisplayDomain, 0)}}}};
    terminal.network["DOM1"] =
        NetLevel{0, {{0, {resource("\\\\PC1", kResourceDisplayServer, kResourceUsageContainer)}}}};
    sendMessage(terminal, "hi", "**", MessageCaller::Terminal);
    Events expected = Events{"openEnum (top)", "openEnum NET"} + sent("DOM1") +
                      Events{"openEnum DOM1", "closeEnum DOM1"} + sent("DOM2") +
                      Events{"closeEnum NET", "closeEnum (top)"};
    EXPECT_EQ(terminal.events(), expected);
}

TEST(AllDomainsBroadcast, AFailedLevelEndsOnlyThatLevel) {
    RecordingActions actions;
    // The top answers "more data" after its first part: that ends the top level.
    actions.network[""] =
        NetLevel{0, {{0, {resource("NET1", 0, kResourceUsageContainer),
                          resource("NET2", 0, kResourceUsageContainer)}},
                     {234, {}},
                     {0, {resource("NEVER", kResourceDisplayDomain, 0)}}}};
    actions.network["NET1"] = NetLevel{1222, {}};
    actions.network["NET2"] = NetLevel{0, {{0, {resource("DOM", kResourceDisplayDomain, 0)}}}};
    broadcastToAllDomains(actions, "hi");
    Events expected = Events{"openEnum (top)", "openEnum NET1", "openEnum NET2"} + sent("DOM") +
                      Events{"closeEnum NET2", "closeEnum (top)"};
    EXPECT_EQ(actions.events(), expected);
}

TEST(AllDomainsBroadcast, AStartingServerIsNotEnumerated) {
    RecordingActions actions;
    NetResource server = resource("\\\\PC1", kResourceDisplayServer, kResourceUsageContainer);
    broadcastToAllDomains(actions, "hi", &server);
    EXPECT_TRUE(actions.events().empty());
}

}  // namespace
}  // namespace kzo
