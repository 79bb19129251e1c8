// The Executor's presentation of prompts and errors, shown for real and
// answered from the test's thread; and the texts of its string table.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <future>
#include <string>

#include "executor_actions.h"
#include "executor_boxes.h"
#include "program_driver.h"
#include "prompt_state.h"
#include "resource.h"
#include "system_error.h"
#include "test_support.h"

namespace kzo {
namespace {

// A presentation call on a thread of its own, as on a launch thread. A box it
// still shows at the end is closed, so that a failed check cannot hang the test.
template <typename Result>
class OnItsThread {
public:
    template <typename Call>
    explicit OnItsThread(Call call) : result_(std::async(std::launch::async, call)) {}
    ~OnItsThread() {
        while (result_.valid() &&
               result_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            test::closeOwnBoxes();
    }
    OnItsThread(const OnItsThread&) = delete;
    OnItsThread& operator=(const OnItsThread&) = delete;

    bool finished() {
        return result_.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    }
    Result get() { return result_.get(); }

private:
    std::future<Result> result_;
};

class ExecutorActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetPromptState();
        setPromptOptions(false, false);
    }
    void TearDown() override { resetPromptState(); }

    // A box or dialog of this process with the caption, its text, answered.
    static std::string answer(const std::string& caption, int button = IDOK) {
        return test::readAndAnswerBox(GetCurrentProcessId(), caption, button);
    }

    // No Terminal lies beside the test program.
    ExecutorActions actions{test::buildTreeProgram("KZO.exe")};
    TaskRecord task = test::record("Backup");
};

TEST_F(ExecutorActionsTest, ConfirmLaunchAsksInTheWarningDialog) {
    for (int button : {IDOK, IDCANCEL}) {
        OnItsThread<bool> call([&] { return actions.confirmLaunch(task, "C:\\Tools\\backup.exe /all"); });
        // The dialog's heading, then the filled prompt.
        EXPECT_EQ("Warning|It's time to execute \"Backup\" task :\nC:\\Tools\\backup.exe /all\n\nRun it ?|",
                  answer("KZO Scheduler", button));
        ASSERT_TRUE(call.finished());
        EXPECT_EQ(button == IDOK, call.get()) << "button " << button;
    }
}

TEST_F(ExecutorActionsTest, ShowMessageOpensTheMessageDialog) {
    OnItsThread<void> call([&] { actions.showMessage("Time for a break"); });
    EXPECT_EQ("Message|Time for a break|", answer("KZO Scheduler"));
    EXPECT_TRUE(call.finished());
}

TEST_F(ExecutorActionsTest, LaunchErrorNamesTaskCommandAndSystemText) {
    OnItsThread<void> call([&] { actions.showLaunchError(task, "nothing.exe", ERROR_FILE_NOT_FOUND); });
    EXPECT_EQ("Unable to execute \"Backup\" task :\nnothing.exe\n" +
                  systemErrorText(ERROR_FILE_NOT_FOUND) + "|",
              answer("KZO Scheduler : Error"));
    EXPECT_TRUE(call.finished());
}

TEST_F(ExecutorActionsTest, ALongCommandIsCutToTheMessageBuffer) {
    std::string command(3000, 'x');
    OnItsThread<void> call([&] { actions.showLaunchError(task, command.c_str(), ERROR_FILE_NOT_FOUND); });
    std::string text = answer("KZO Scheduler : Error");
    EXPECT_EQ(1023u + 1, text.size()) << "the text and its '|'";
    EXPECT_EQ(0u, text.find("Unable to execute \"Backup\" task :\nxxx"));
    EXPECT_TRUE(call.finished());
}

TEST_F(ExecutorActionsTest, ScheduleFileReports) {
    struct Case {
        ScheduleError error;
        std::uint32_t code;
        std::string text;
    } cases[] = {
        {ScheduleError::OpenFailed, ERROR_ACCESS_DENIED,
         "Error opening Schedule file \"C:\\s.jsf\"\n" + systemErrorText(ERROR_ACCESS_DENIED) + "|"},
        {ScheduleError::ReadFailed, ERROR_READ_FAULT,
         "Error reading Schedule file \"C:\\s.jsf\"\n" + systemErrorText(ERROR_READ_FAULT) + "|"},
    };
    for (const Case& c : cases) {
        OnItsThread<void> call([&] { actions.reportScheduleError(c.error, "C:\\s.jsf", c.code); });
        EXPECT_EQ(c.text, answer("KZO Scheduler : Error"));
        EXPECT_TRUE(call.finished());
    }
}

TEST_F(ExecutorActionsTest, WrongSizeOffersTheTerminalAndReportsWhenItCannotStart) {
    const std::string question =
        "Schedule file \"C:\\old.jsf\"\nhas incorrect size. Do you want to run Terminal to convert old file ?|";
    for (int button : {IDNO, IDYES}) {
        OnItsThread<void> call([&] { actions.reportScheduleError(ScheduleError::BadSize, "C:\\old.jsf", 0); });
        EXPECT_EQ(question, answer("KZO Scheduler : Error", button));
        if (button == IDYES) {
            EXPECT_EQ("Unable to run KZO Terminal.\t  |", answer("KZO Scheduler : Error"));
        }
        EXPECT_TRUE(call.finished()) << "button " << button;
    }
}

// The resource compiler keeps quotes, line breaks and trailing tabs and blanks.
TEST(ExecutorStrings, TableHoldsTheTextsAsShown) {
    struct Case {
        unsigned id;
        const char* text;
    } cases[] = {
        // Those that the boxes above show are checked there, filled in.
        {IDS_OPEN_TERMINAL, "Open &Terminal"},
        {IDS_HELP, "&Help"},
        {IDS_USER_RUNNING, "User Scheduler is already running.\t "},
        {IDS_SYSTEM_RUNNING, "System Scheduler is already running.\t "},
        {IDS_HELP_FAILED, "Error opening Help file.\t"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, executorText(c.id)) << c.id;
}

}  // namespace
}  // namespace kzo
