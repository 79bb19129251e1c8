// Setup and the uninstaller ask the suite's windows to close, then replace or
// delete their files: the processes behind the windows are awaited, within a
// bound, since a window asked to close does not promise an ended program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "close_windows.h"
#include "start_program.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

bool ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

DWORD pidOf(const std::map<std::string, std::string>& marker) {
    auto pid = marker.find("pid");
    return pid == marker.end() ? 0 : static_cast<DWORD>(std::stoul(pid->second));
}

TEST(ClosingProcesses, TheWaitLastsUntilTheProgramsEndAndNoLongerThanItsBound) {
    test::TempDir dir;
    const std::string slowMarker = dir.file("slow.marker");
    UniqueHandle slow = startProgram(test::fixtureCommand(slowMarker, "--exit-after 2500"), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(slow);
    ClosingProcesses closing;
    closing.keep(pidOf(test::waitForMarker(slowMarker)));
    closing.keep(GetCurrentProcessId());  // the asking program never waits for itself
    DWORD start = GetTickCount();
    closing.waitAll(start, 20000);
    EXPECT_TRUE(ended(slow.get()));
    EXPECT_LT(GetTickCount() - start, 15000u);

    const std::string stuckMarker = dir.file("stuck.marker");
    UniqueHandle stuck = startProgram(test::fixtureCommand(stuckMarker, "--exit-after 60000"), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(stuck);
    const auto stuckRun = test::waitForMarker(stuckMarker);
    ClosingProcesses bounded;
    bounded.keep(pidOf(stuckRun));
    start = GetTickCount();
    bounded.waitAll(start, 1000);
    const DWORD waited = GetTickCount() - start;
    EXPECT_FALSE(ended(stuck.get()));
    EXPECT_GE(waited, 900u);
    EXPECT_LT(waited, 10000u);
    test::endFixture(stuckRun);
}

}  // namespace
}  // namespace kzo
