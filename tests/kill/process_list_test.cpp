// The process list by each of its means: the Toolhelp snapshot, and the
// kernel's list that NT 4.0 (no Toolhelp) is left with.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "kill_command_line.h"
#include "process_list.h"
#include "test_support.h"

namespace kzo {
namespace {

// This test program, as the list names it.
void expectListsThisProgram(const char* means) {
    std::vector<ProcessEntry> processes;
    ASSERT_TRUE(listProcesses(processes)) << means;
    bool found = false;
    for (const ProcessEntry& entry : processes) {
        if (entry.id != GetCurrentProcessId()) continue;
        found = true;
        EXPECT_TRUE(imageNameMatches("kill_tests.exe", entry.image)) << means << ": " << entry.image;
    }
    EXPECT_TRUE(found) << means << ": this process is missing among " << processes.size();
    EXPECT_GT(processes.size(), 1u) << means;
}

TEST(ProcessList, EachMeansListsTheRunningProcessesWithTheirImageNames) {
    expectListsThisProgram("Toolhelp");
    test::HiddenFunctions noToolhelp{"CreateToolhelp32Snapshot"};
    expectListsThisProgram("the kernel's list");
}

TEST(ProcessList, NoMeansAtAllIsReportedNotTakenForNoProcesses) {
    test::HiddenFunctions none{"CreateToolhelp32Snapshot", "NtQuerySystemInformation"};
    std::vector<ProcessEntry> processes{{1, "stale.exe"}};
    EXPECT_FALSE(listProcesses(processes));
    EXPECT_TRUE(processes.empty());
}

}  // namespace
}  // namespace kzo
