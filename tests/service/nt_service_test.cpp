// The service frame through its status seam: the states reported for a normal
// run, a failed start and the controls; the entries it writes; the console mode.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "nt_service.h"
#include "service_test_support.h"
#include "test_support.h"

namespace kzo {
namespace {

using States = std::vector<DWORD>;

class TestService : public NtService {
public:
    using NtService::NtService;

    int startResult = 0;
    std::function<void(TestService&)> duringStart;
    std::function<void(TestService&)> duringStop;
    std::atomic<int> starts{0}, stops{0}, pauses{0}, continues{0};

protected:
    int onStart() override {
        ++starts;
        if (duringStart) duringStart(*this);
        return startResult;
    }
    void onStop() override {
        if (duringStop) duringStop(*this);
        ++stops;
    }
    void onPause() override { ++pauses; }
    void onContinue() override { ++continues; }
};

class ServiceFrameTest : public ::testing::Test {
protected:
    ServiceFrameTest() {
        log_.open("KZO Test Frame");
        log_.setDiagnosticCopy(copy());
        service_.setName("KZO Test Service");
    }
    ~ServiceFrameTest() override {
        if (thread_.joinable()) {
            service_.control(SERVICE_CONTROL_STOP);
            thread_.join();
        }
    }

    std::string copy() const { return dir_.file("events.log"); }
    std::vector<std::string> entries() const { return test::copiedEntries(copy()); }

    // The service main routine on a thread of its own, as the dispatcher runs it.
    void startMain() {
        thread_ = std::thread([this] { service_.serviceMain(); });
    }
    // Waits for the service main routine to return.
    bool joinMain(std::uint32_t timeoutMs = 10000) {
        bool reported = test::waitUntil(
            [this] {
                auto s = sink_.states();
                return !s.empty() && s.back() == SERVICE_STOPPED;
            },
            timeoutMs);
        if (reported && thread_.joinable()) thread_.join();
        return reported;
    }

    test::TempDir dir_;
    ApplicationLog log_;
    test::RecordingSink sink_;
    TestService service_{log_, sink_};
    std::thread thread_;
};

TEST_F(ServiceFrameTest, NormalRunReportsEveryStateInOrder) {
    startMain();
    ASSERT_TRUE(sink_.waitForReports(2));
    service_.control(SERVICE_CONTROL_PAUSE);
    service_.control(SERVICE_CONTROL_CONTINUE);
    service_.control(SERVICE_CONTROL_INTERROGATE);
    service_.control(SERVICE_CONTROL_SHUTDOWN);
    service_.control(SERVICE_CONTROL_PAUSE);
    service_.control(SERVICE_CONTROL_CONTINUE);
    service_.control(SERVICE_CONTROL_STOP);
    ASSERT_TRUE(joinMain());

    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_RUNNING, SERVICE_PAUSE_PENDING, SERVICE_PAUSED,
                      SERVICE_CONTINUE_PENDING, SERVICE_RUNNING, SERVICE_PAUSE_PENDING,
                      SERVICE_PAUSED, SERVICE_CONTINUE_PENDING, SERVICE_RUNNING,
                      SERVICE_STOP_PENDING, SERVICE_STOPPED}),
              sink_.states());
    EXPECT_EQ(1, service_.starts);
    EXPECT_EQ(2, service_.pauses);
    EXPECT_EQ(2, service_.continues);
    EXPECT_EQ(1, service_.stops);
    SERVICE_STATUS last = sink_.last();
    EXPECT_EQ(static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS), last.dwServiceType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE),
              last.dwControlsAccepted);
    EXPECT_EQ(0u, last.dwWin32ExitCode);
    EXPECT_EQ(0u, last.dwCheckPoint);
    EXPECT_EQ(0u, last.dwWaitHint);
    EXPECT_TRUE(entries().empty());
}

TEST_F(ServiceFrameTest, FailedStartStopsWithTheStartStatus) {
    service_.startResult = E_FAIL;
    startMain();
    ASSERT_TRUE(joinMain());
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_STOP_PENDING, SERVICE_STOPPED}), sink_.states());
    SERVICE_STATUS last = sink_.last();
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR), last.dwWin32ExitCode);
    EXPECT_EQ(0x80004005u, last.dwServiceSpecificExitCode);
    EXPECT_EQ(0, service_.stops) << "stop follows only a started service";
    EXPECT_EQ(std::vector<std::string>{"error: Service startup failure: 0x80004005"}, entries());
}

TEST_F(ServiceFrameTest, PositiveStartStatusIsSuccess) {
    service_.startResult = 1;
    startMain();
    ASSERT_TRUE(sink_.waitForReports(2));
    service_.control(SERVICE_CONTROL_STOP);
    ASSERT_TRUE(joinMain());
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_RUNNING, SERVICE_STOP_PENDING, SERVICE_STOPPED}),
              sink_.states());
    EXPECT_EQ(0u, sink_.last().dwWin32ExitCode);
}

TEST_F(ServiceFrameTest, HandlerRegistrationFailureIsLoggedAndNothingStarts) {
    sink_.registerResult = ERROR_FAILED_SERVICE_CONTROLLER_CONNECT;
    service_.serviceMain();
    EXPECT_TRUE(sink_.states().empty());
    EXPECT_EQ(0, service_.starts);
    EXPECT_EQ(std::vector<std::string>{
                  "error: Service control handler failed to be installed, error code = 1063"},
              entries());
}

TEST_F(ServiceFrameTest, UnknownControlWritesAnInformationEntry) {
    startMain();
    ASSERT_TRUE(sink_.waitForReports(2));
    service_.control(0);
    service_.control(6);  // SERVICE_CONTROL_PARAMCHANGE: not accepted here
    service_.control(200);
    service_.control(SERVICE_CONTROL_INTERROGATE);
    service_.control(SERVICE_CONTROL_SHUTDOWN);
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_RUNNING}), sink_.states());
    EXPECT_EQ(std::vector<std::string>(3, "information: Bad service request."), entries());
}

TEST_F(ServiceFrameTest, StopArrivingDuringTheStartIsNotLost) {
    service_.duringStart = [](TestService& s) { s.control(SERVICE_CONTROL_STOP); };
    startMain();
    ASSERT_TRUE(joinMain()) << "the message loop missed the stop";
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_RUNNING, SERVICE_STOP_PENDING, SERVICE_STOPPED}),
              sink_.states());
    EXPECT_EQ(1, service_.stops);
}

TEST_F(ServiceFrameTest, PauseDuringTheStartStandsAfterIt) {
    // The start's own pass found "Active" 0 before the start returned.
    service_.duringStart = [](TestService& s) { s.control(SERVICE_CONTROL_PAUSE); };
    startMain();
    ASSERT_TRUE(sink_.waitForReports(3));
    Sleep(100);
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_PAUSE_PENDING, SERVICE_PAUSED}), sink_.states());
    service_.control(SERVICE_CONTROL_STOP);
    ASSERT_TRUE(joinMain());
    EXPECT_EQ(SERVICE_STOP_PENDING, sink_.states().at(3));
}

TEST_F(ServiceFrameTest, PauseAndContinueAreIgnoredOnceTheStopHasBegun) {
    // The loop's last pass asks to pause and continue while the service stops.
    service_.duringStop = [](TestService& s) {
        s.control(SERVICE_CONTROL_PAUSE);
        s.control(SERVICE_CONTROL_CONTINUE);
    };
    startMain();
    ASSERT_TRUE(sink_.waitForReports(2));
    service_.control(SERVICE_CONTROL_STOP);
    ASSERT_TRUE(joinMain());
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_RUNNING, SERVICE_STOP_PENDING, SERVICE_STOPPED}),
              sink_.states());
    EXPECT_EQ(0, service_.pauses);
    EXPECT_EQ(0, service_.continues);
}

TEST_F(ServiceFrameTest, ConsoleModeIgnoresControlsAndEndsOnAConsoleEvent) {
    service_.setRunningAsService(false);
    std::atomic<bool> loopEnded{false};
    std::thread console([&] {
        service_.runLoop();
        loopEnded = true;
    });
    ASSERT_TRUE(test::waitUntil([&] { return service_.starts == 1; }, 5000));
    service_.control(SERVICE_CONTROL_PAUSE);
    service_.control(200);
    service_.control(SERVICE_CONTROL_STOP);
    Sleep(200);
    EXPECT_FALSE(loopEnded) << "controls do not reach a console program";
    EXPECT_EQ(0, service_.pauses);

    EXPECT_TRUE(NtService::consoleEntry(CTRL_C_EVENT)) << "the event is handled";
    console.join();
    EXPECT_EQ(1, service_.stops);
    EXPECT_TRUE(sink_.states().empty());
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(0u, service_.status().dwWin32ExitCode);
}

TEST_F(ServiceFrameTest, ConsoleModeFailedStartLeavesTheExitCode) {
    service_.setRunningAsService(false);
    service_.startResult = E_FAIL;
    service_.runLoop();
    EXPECT_TRUE(sink_.states().empty());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR), service_.status().dwWin32ExitCode);
    EXPECT_EQ(0x80004005u, service_.status().dwServiceSpecificExitCode);
}

TEST_F(ServiceFrameTest, EntryPointsRouteToTheProcessService) {
    EXPECT_EQ(&service_, NtService::current());
    std::thread main([] { NtService::serviceMainEntry(0, nullptr); });
    ASSERT_TRUE(sink_.waitForReports(2));
    NtService::controlEntry(SERVICE_CONTROL_PAUSE);
    NtService::controlEntry(SERVICE_CONTROL_STOP);
    main.join();
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_RUNNING, SERVICE_PAUSE_PENDING, SERVICE_PAUSED,
                      SERVICE_STOP_PENDING, SERVICE_STOPPED}),
              sink_.states());
}

}  // namespace
}  // namespace kzo
