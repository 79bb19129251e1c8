// kill.exe run for real on task fixtures. Each fixture runs under an image name
// of its own (a copy of the fixture), so that no other test's fixtures match.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "program_driver.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::ChildProcess;

constexpr DWORD kClosedItself = 7;  // the fixture's own exit code
constexpr DWORD kTerminated = 1;    // the exit code kill.exe gives

class KillProgram : public ::testing::Test {
protected:
    // A running fixture under the image name stem + ".exe".
    std::unique_ptr<ChildProcess> startFixture(const std::string& stem, const std::string& options = "") {
        std::string image = dir.file(stem + ".exe");
        if (!test::fileExists(image)) {
            EXPECT_TRUE(CopyFileA(test::fixturePath().c_str(), image.c_str(), TRUE));
        }
        std::string marker = dir.file(test::uniqueName("marker-"));
        auto fixture = std::make_unique<ChildProcess>(test::quoted(image) + " " + test::quoted(marker) +
                                                      " --exit-after 60000 " + options);
        markers[fixture.get()] = marker;
        EXPECT_EQ("1", test::waitForMarker(marker)["ready"]) << stem << " does not start";
        return fixture;
    }
    bool askedToClose(ChildProcess* fixture) { return test::readFile(markers[fixture]).find("close=") != std::string::npos; }

    // kill.exe's exit code, 999 when it does not end.
    static DWORD kill(const std::string& arguments) {
        ChildProcess tool(test::quoted(test::buildTreeProgram("..\\kill\\kill.exe")) + " " + arguments);
        return tool.waitForExit(30000).value_or(999);
    }

    test::TempDir dir;
    std::string stem = test::uniqueName("kzo-kill-");
    std::map<ChildProcess*, std::string> markers;
};

TEST_F(KillProgram, ByNameEveryProcessIsAskedToCloseFirst) {
    auto first = startFixture(stem);
    auto second = startFixture(stem);
    EXPECT_EQ(0u, kill(stem + ".EXE"));
    EXPECT_EQ(kClosedItself, first->waitForExit().value_or(999));
    EXPECT_EQ(kClosedItself, second->waitForExit().value_or(999));
    EXPECT_TRUE(askedToClose(first.get()));
    EXPECT_TRUE(askedToClose(second.get()));
}

TEST_F(KillProgram, ByIdWithForceTerminatesWithoutAsking) {
    auto fixture = startFixture(stem);
    auto other = startFixture(stem);
    EXPECT_EQ(0u, kill("/f " + std::to_string(fixture->pid())));
    EXPECT_EQ(kTerminated, fixture->waitForExit().value_or(999));
    EXPECT_FALSE(askedToClose(fixture.get()));
    EXPECT_TRUE(other->running()) << "only the process with that id ends";
}

TEST_F(KillProgram, AProcessThatIgnoresTheCloseIsTerminatedAfterTheWait) {
    auto fixture = startFixture(stem, "--ignore-close");
    std::uint64_t start = test::nowMs();
    EXPECT_EQ(0u, kill(stem));  // the name without ".exe"
    EXPECT_EQ(kTerminated, fixture->waitForExit().value_or(999));
    EXPECT_TRUE(askedToClose(fixture.get()));
    EXPECT_GE(test::nowMs() - start, 4000u) << "terminated before the wait was over";
}

TEST_F(KillProgram, TargetsThatMatchNothing) {
    EXPECT_EQ(2u, kill(stem + "-none.exe"));
    auto fixture = startFixture(stem);
    // The others are still ended; the code tells that one matched nothing.
    EXPECT_EQ(2u, kill("/f " + stem + " " + stem + "-none.exe"));
    EXPECT_EQ(kTerminated, fixture->waitForExit().value_or(999));
    EXPECT_EQ(1u, kill("/f"));
}

}  // namespace
}  // namespace kzo
