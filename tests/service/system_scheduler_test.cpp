// The System Scheduler in service mode, in-process: the engine on settings in a
// scratch key and a fake clock, the service's status following "Active", the
// Active written by pause, continue and stop, and the failed starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "fake_clock.h"
#include "recording_actions.h"
#include "service_test_support.h"
#include "system_scheduler.h"
#include "test_registry.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

using States = std::vector<DWORD>;
using test::at;

class SystemSchedulerTest : public ::testing::Test {
protected:
    SystemSchedulerTest() {
        config_.settingsRoot = HKEY_CURRENT_USER;
        config_.settingsKey = settings_.path();
        config_.updateEventName = test::uniqueName("KZO_TEST_SYS_UPDATE_");
        config_.mutexName = test::uniqueName("KZOTestMutexSysNT_");
        config_.settingsRead = [this](const SchedulerSettings& s) { topMost_ = s.topMost; };
        log_.open("KZO Test Scheduler");
        log_.setDiagnosticCopy(dir_.file("events.log"));
        test::writeFile(schedule_, "");
        settings_.setString("DAT", schedule_);
        settings_.setDword("Active", 1);
    }
    ~SystemSchedulerTest() override {
        if (main_.joinable()) {
            service_->control(SERVICE_CONTROL_STOP);
            main_.join();
        }
    }

    // The stored Active, or 999 when there is none.
    DWORD storedActive() const { return settings_.dword("Active").value_or(999); }
    std::vector<std::string> entries() const { return test::copiedEntries(dir_.file("events.log")); }

    // The service main routine on a thread, as the dispatcher runs it. The
    // clock stands at second 5: no immediate pass, and the loop thread waits
    // for the next minute until it is stopped, so the tests run the passes.
    void startService() {
        service_.reset();  // one service object per process
        service_ = std::make_unique<SystemScheduler>(log_, sink_, clock_, actions_, config_);
        service_->setName("KZO Test Scheduler");
        main_ = std::thread([this] { service_->serviceMain(); });
    }
    bool waitForState(DWORD state, std::size_t count = 1) {
        return test::waitUntil(
            [&] {
                auto s = sink_.states();
                return static_cast<std::size_t>(std::count(s.begin(), s.end(), state)) >= count;
            },
            10000);
    }
    void stopService() {
        service_->control(SERVICE_CONTROL_STOP);
        ASSERT_TRUE(waitForState(SERVICE_STOPPED));
        main_.join();
    }

    test::TempDir dir_;
    test::ScratchKey settings_;
    std::string schedule_ = dir_.file("system.jsf");
    test::FakeClock clock_{at(12, 0, 5)};
    test::RecordingActions actions_;
    ApplicationLog log_;
    test::RecordingSink sink_;
    SystemSchedulerConfig config_;
    std::atomic<bool> topMost_{true};
    std::unique_ptr<SystemScheduler> service_;
    std::thread main_;
};

TEST_F(SystemSchedulerTest, StatusFollowsActiveChangedElsewhereAtTheNextPass) {
    startService();
    ASSERT_TRUE(waitForState(SERVICE_RUNNING));

    // The first pass finds Active 1 where it had seen none.
    service_->loop().passAt(at(12, 1));
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_RUNNING, SERVICE_CONTINUE_PENDING,
                      SERVICE_RUNNING}),
              sink_.states());

    settings_.setDword("Active", 0);  // the Terminal deactivates the System Scheduler
    service_->loop().passAt(at(12, 2));
    EXPECT_EQ(SERVICE_PAUSED, sink_.last().dwCurrentState);
    EXPECT_FALSE(service_->active());

    service_->loop().passAt(at(12, 3));
    EXPECT_EQ(6u, sink_.states().size()) << "no change, no report";

    settings_.setDword("Active", 1);
    service_->loop().passAt(at(12, 4));
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_RUNNING, SERVICE_CONTINUE_PENDING,
                      SERVICE_RUNNING, SERVICE_PAUSE_PENDING, SERVICE_PAUSED,
                      SERVICE_CONTINUE_PENDING, SERVICE_RUNNING}),
              sink_.states());
    EXPECT_EQ(1u, storedActive());
    stopService();
    EXPECT_TRUE(entries().empty());
}

TEST_F(SystemSchedulerTest, PauseAndContinueStoreActiveAndStopStoresTheHeldValue) {
    startService();
    ASSERT_TRUE(waitForState(SERVICE_RUNNING));
    service_->control(SERVICE_CONTROL_PAUSE);
    EXPECT_EQ(SERVICE_PAUSED, sink_.last().dwCurrentState);
    EXPECT_EQ(0u, storedActive());
    service_->control(SERVICE_CONTROL_CONTINUE);
    EXPECT_EQ(SERVICE_RUNNING, sink_.last().dwCurrentState);
    EXPECT_EQ(1u, storedActive());

    // A pass reads Active 0 and TopMost 0; the value is then lost from the
    // registry, and the stop writes back what the service holds.
    settings_.setDword("Active", 0);
    settings_.setDword("TopMost", 0);
    service_->loop().passAt(at(12, 1));
    EXPECT_FALSE(topMost_) << "the presentation follows TopMost";
    settings_.remove("Active");
    stopService();
    EXPECT_EQ(0u, storedActive());
    EXPECT_EQ(SERVICE_STOPPED, sink_.last().dwCurrentState);
    EXPECT_EQ(0u, sink_.last().dwWin32ExitCode);
}

TEST_F(SystemSchedulerTest, PausedServiceStaysInactiveAfterARestart) {
    startService();
    ASSERT_TRUE(waitForState(SERVICE_RUNNING));
    service_->control(SERVICE_CONTROL_PAUSE);
    stopService();
    EXPECT_EQ(0u, storedActive());

    // The next start finds Active 0: the service starts paused, and the
    // Terminal's activation continues it.
    sink_.clear();
    startService();
    ASSERT_TRUE(waitForState(SERVICE_PAUSED));
    service_->loop().passAt(at(12, 1));
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_PAUSE_PENDING, SERVICE_PAUSED}), sink_.states());
    EXPECT_EQ(0u, storedActive());
    settings_.setDword("Active", 1);
    service_->loop().passAt(at(12, 2));
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_PAUSE_PENDING, SERVICE_PAUSED,
                      SERVICE_CONTINUE_PENDING, SERVICE_RUNNING}),
              sink_.states());
}

TEST_F(SystemSchedulerTest, SecondInstanceFailsToStart) {
    UniqueHandle other(CreateMutexA(nullptr, FALSE, config_.mutexName.c_str()));
    ASSERT_TRUE(other);
    startService();
    ASSERT_TRUE(waitForState(SERVICE_STOPPED));
    main_.join();
    EXPECT_EQ((States{SERVICE_START_PENDING, SERVICE_STOP_PENDING, SERVICE_STOPPED}), sink_.states());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR), sink_.last().dwWin32ExitCode);
    EXPECT_EQ(0x80004005u, sink_.last().dwServiceSpecificExitCode);
    EXPECT_EQ((std::vector<std::string>{"error: KZO Scheduler already started. Terminating (183)",
                                        "error: Service startup failure: 0x80004005"}),
              entries());
    EXPECT_EQ(1u, storedActive()) << "a failed start writes nothing";
}

TEST_F(SystemSchedulerTest, WithoutScheduleFileTheStartFails) {
    const char* dats[] = {"", "   "};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(std::string("DAT \"") + dats[i] + "\"");
        settings_.setString("DAT", dats[i]);
        test::writeFile(dir_.file("events.log"), "");
        sink_.clear();
        startService();
        ASSERT_TRUE(waitForState(SERVICE_STOPPED));
        main_.join();
        EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR), sink_.last().dwWin32ExitCode);
        EXPECT_EQ((std::vector<std::string>{"error: There is no registered System Schedule.",
                                            "error: Service startup failure: 0x80004005"}),
                  entries());
        EXPECT_EQ(std::vector<std::string>(i + 1, "beep"), actions_.events());
    }
}

}  // namespace
}  // namespace kzo
