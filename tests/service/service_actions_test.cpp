// The service's presentation: the prompt, the launch error, a Message task's
// text and the schedule reports, each box with its caption, text and style, and
// each report also an error entry of the event log. The boxes are recorded
// through the box seam; one is shown for real and answered as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <mutex>

#include "program_driver.h"
#include "service_actions.h"
#include "service_test_support.h"
#include "system_error.h"

namespace kzo {
namespace {

struct Box {
    std::string text;
    std::string caption;
    UINT style = 0;
};

constexpr UINT kService = MB_SERVICE_NOTIFICATION;

class ServiceActionsTest : public ::testing::Test {
protected:
    ServiceActionsTest() {
        log_.open("KZO Test Presentation");
        log_.setDiagnosticCopy(dir_.file("events.log"));
    }
    void setTopMost(bool topMost) {
        SchedulerSettings settings;
        settings.topMost = topMost;
        actions_.settingsRead(settings);
    }
    std::vector<std::string> entries() const { return test::copiedEntries(dir_.file("events.log")); }

    test::TempDir dir_;
    ApplicationLog log_;
    std::vector<Box> boxes_;
    int answer_ = IDOK;
    ServiceActions actions_{log_, [this](const char* text, const char* caption, UINT style) {
                                boxes_.push_back({text, caption, style});
                                return answer_;
                            }};
    TaskRecord task_ = test::record("task");
};

TEST_F(ServiceActionsTest, PromptAsksYesOrNoWithTheCommand) {
    answer_ = IDNO;
    EXPECT_FALSE(actions_.confirmLaunch(task_, "backup.exe /all"));
    answer_ = IDYES;
    EXPECT_TRUE(actions_.confirmLaunch(task_, "backup.exe /all"));
    answer_ = IDCANCEL;  // closed some other way: not a No
    setTopMost(false);
    EXPECT_TRUE(actions_.confirmLaunch(task_, "backup.exe /all"));

    ASSERT_EQ(3u, boxes_.size());
    EXPECT_EQ("It's time to execute :\nbackup.exe /all\n\nRun it ?", boxes_[0].text);
    EXPECT_EQ("KZO Scheduler", boxes_[0].caption);
    EXPECT_EQ(MB_YESNO | MB_ICONINFORMATION | kService | MB_TOPMOST, boxes_[0].style);
    EXPECT_EQ(MB_YESNO | MB_ICONINFORMATION | kService, boxes_[2].style) << "TopMost 0";
    EXPECT_TRUE(entries().empty()) << "a prompt is no report";
}

TEST_F(ServiceActionsTest, LaunchErrorIsLoggedAndShown) {
    actions_.showLaunchError(task_, "C:\\missing.exe", ERROR_FILE_NOT_FOUND);
    std::string expected = "Unable to execute :\nC:\\missing.exe\n" + systemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(1u, boxes_.size());
    EXPECT_EQ(expected, boxes_[0].text);
    EXPECT_EQ("KZO Scheduler", boxes_[0].caption);
    EXPECT_EQ(MB_ICONERROR | kService | MB_TOPMOST, boxes_[0].style);
    EXPECT_EQ(std::vector<std::string>{"error: " + expected}, entries());
}

TEST_F(ServiceActionsTest, MessageTextIsTopmostWithoutServiceNotificationAndNotLogged) {
    setTopMost(false);
    actions_.showMessage("Lunch at 12:30 (100%)");
    ASSERT_EQ(1u, boxes_.size());
    EXPECT_EQ("Lunch at 12:30 (100%)", boxes_[0].text);
    EXPECT_EQ("KZO Scheduler", boxes_[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_TOPMOST | MB_ICONINFORMATION), boxes_[0].style);
    EXPECT_TRUE(entries().empty());
}

TEST_F(ServiceActionsTest, ScheduleErrorsAreLoggedAndShownWithTheirCaptions) {
    struct Case {
        ScheduleError error;
        std::uint32_t code;
        const char* caption;
        std::string text;
    };
    const Case cases[] = {
        {ScheduleError::OpenFailed, ERROR_PATH_NOT_FOUND, "KZO Scheduler",
         "Error opening Schedule file \"C:\\x\\system.jsf\"\n" + systemErrorText(ERROR_PATH_NOT_FOUND)},
        {ScheduleError::ReadFailed, ERROR_LOCK_VIOLATION, "KZO Scheduler",
         "Error reading Schedule file \"C:\\x\\system.jsf\"\n" + systemErrorText(ERROR_LOCK_VIOLATION)},
        {ScheduleError::BadSize, 0, "KZO Scheduler : Error",
         "Schedule file \"C:\\x\\system.jsf\"\nhas incorrect size. Run Terminal and convert old file."},
    };
    std::vector<std::string> expectedEntries;
    for (const Case& c : cases) {
        actions_.reportScheduleError(c.error, "C:\\x\\system.jsf", c.code);
        ASSERT_FALSE(boxes_.empty());
        EXPECT_EQ(c.text, boxes_.back().text);
        EXPECT_EQ(c.caption, boxes_.back().caption);
        EXPECT_EQ(MB_ICONERROR | kService | MB_TOPMOST, boxes_.back().style);
        expectedEntries.push_back("error: " + c.text);
    }
    EXPECT_EQ(expectedEntries, entries());
}

// --- A real box -----------------------------------------------------------------------

TEST_F(ServiceActionsTest, AReportInARealBoxWaitsForTheAnswer) {
    ServiceActions real(log_);
    auto shown = std::async(std::launch::async, [&] {
        real.reportScheduleError(ScheduleError::BadSize, "C:\\x\\system.jsf", 0);
    });
    HWND box = test::waitForBox(GetCurrentProcessId(), "KZO Scheduler : Error");
    ASSERT_NE(nullptr, box) << "no box";
    EXPECT_EQ("Schedule file \"C:\\x\\system.jsf\"\nhas incorrect size. Run Terminal and convert old file.|",
              test::boxText(box));
    EXPECT_EQ(std::future_status::timeout, shown.wait_for(std::chrono::milliseconds(200)))
        << "the report waits for the box";
    EXPECT_TRUE(test::answerBox(box, IDOK));
    EXPECT_EQ(std::future_status::ready, shown.wait_for(std::chrono::seconds(10)));
}

}  // namespace
}  // namespace kzo
