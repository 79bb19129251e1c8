// The real platform actions under Wine, where netapi32's functions and
// InitiateSystemShutdownA are stubs: the calls are made and come back. The local
// shutdown is never called here (ExitWindowsEx would end the session).
#include <gtest/gtest.h>

#include <windows.h>

#include "messages.h"
#include "shutdown.h"
#include "stub_guard.h"
#include "win32_actions.h"

namespace kzo {
namespace {

// The real actions with presentation that only counts.
class TestActions : public Win32Actions {
public:
    bool confirmLaunch(const TaskRecord&, const char*) override { return true; }
    void showLaunchError(const TaskRecord&, const char*, std::uint32_t) override {}
    void showMessage(const char*) override { ++shown; }
    void reportScheduleError(ScheduleError, const char*, std::uint32_t) override {}
    void startLaunch(const LaunchRequest&) override {}

    int shown = 0;
};

TEST(Win32Actions, BindsNetapi32ForEachUseAndReleasesIt) {
    TestActions actions;
    bool loadedBefore = GetModuleHandleA("netapi32") != nullptr;
    {
        std::unique_ptr<NetApi> api = actions.loadNetApi();
        ASSERT_NE(api, nullptr);
        EXPECT_TRUE(api->hasMessageBufferSend());
        EXPECT_TRUE(api->hasServerEnum());
        EXPECT_TRUE(api->hasApiBufferFree());
        EXPECT_NE(GetModuleHandleA("netapi32"), nullptr);
    }
    if (!loadedBefore) {
        EXPECT_EQ(GetModuleHandleA("netapi32"), nullptr);
    }
}

TEST(Win32Actions, SendsAndBroadcastsComeBackWhenTheNetworkIsAStub) {
    TestActions actions;
    EXPECT_EQ(sendToName(actions, "hello", "NOBODY-KZO", MessageCaller::Executor), 1);
    sendToName(actions, "hello", "*", MessageCaller::Executor);
    sendToName(actions, "hello", "**", MessageCaller::Terminal);
    EXPECT_EQ(sendMessage(actions, "hello", "NOBODY-KZO, *", MessageCaller::Executor), 1);
    EXPECT_EQ(actions.shown, 0);
}

TEST(Win32Actions, RemoteShutdownOfAnUnknownComputerComesBack) {
    TestActions actions;
    EXPECT_EQ(runShutdown(actions, "REBOOT", "NO-SUCH-PC-KZO"), 0);
    shutdownRemote(actions, kExitShutdown, "NO-SUCH-PC-KZO");
    shutdownBrowseList(actions, kExitShutdown);
}

TEST(Win32Actions, PrivilegesAndPlatform) {
    TestActions actions;
    EXPECT_TRUE(actions.isNtPlatform());  // Wine reports an NT version by default
    EXPECT_TRUE(actions.enablePrivilege("SeShutdownPrivilege"));
    EXPECT_FALSE(actions.enablePrivilege("SeNoSuchPrivilegeKZO"));
}

// What Wine's unimplemented stub raises: its code, the library and the
// function's name.
std::uint32_t raiseWineStub() {
    static const char kLibrary[] = "netapi32.dll";
    static const char kFunction[] = "NetMessageBufferSend";
    ULONG_PTR args[2] = {reinterpret_cast<ULONG_PTR>(kLibrary),
                         reinterpret_cast<ULONG_PTR>(kFunction)};
    RaiseException(0x80000100, EXCEPTION_NONCONTINUABLE, 2, args);
    return 0;
}

TEST(StubGuard, TurnsAnUnimplementedStubIntoAnErrorCode) {
    int calls = 0;
    EXPECT_EQ(guardStubs([&]() {
                  ++calls;
                  return raiseWineStub();
              }),
              kCallNotImplemented);
    EXPECT_EQ(calls, 1);
    // Disarmed after the stub, armed again by the next call.
    EXPECT_EQ(guardStubs([]() -> std::uint32_t { return 7; }), 7u);
    EXPECT_EQ(guardStubs(raiseWineStub), kCallNotImplemented);
}

}  // namespace
}  // namespace kzo
