// The texts of the service's prompts and reports.
#include <gtest/gtest.h>

#include "report_text.h"

namespace kzo {
namespace {

TEST(ReportText, FillsPlaceholdersInOrder) {
    EXPECT_EQ("Unable to execute :\nnotepad.exe\nThe system cannot find the file specified.",
              reportText("Unable to execute :\n%s\n%s", "notepad.exe",
                         "The system cannot find the file specified."));
    EXPECT_EQ("Schedule file \"C:\\a.jsf\"\nhas incorrect size.",
              reportText("Schedule file \"%s\"\nhas incorrect size.", "C:\\a.jsf", "unused"));
    EXPECT_EQ("50% done", reportText("50%% done", "x"));
    EXPECT_EQ("a [] b", reportText("a [%s%s] b", "", ""));
}

TEST(ReportText, TextsArePlacedNeverInterpreted) {
    // A command or file name may hold printf directives of its own.
    EXPECT_EQ("run %d%n%s now", reportText("run %s now", "%d%n%s"));
    EXPECT_EQ("%d and %", reportText("%d and %", "x"));
    EXPECT_EQ("x - y - ", reportText("%s - %s - %s", "x", "y"));
}

TEST(ReportText, CutAt1023Characters) {
    std::string longCommand(3000, 'c');
    std::string text = reportText("It's time to execute :\n%s\n\nRun it ?", longCommand);
    ASSERT_EQ(kReportTextLength, text.size());
    EXPECT_EQ("It's time to execute :\ncc", text.substr(0, 25));
    EXPECT_EQ(std::string(1000, 'c'), text.substr(23));
}

}  // namespace
}  // namespace kzo
