// The keywords of a Shut down task.
#include <gtest/gtest.h>

#include "platform_actions.h"
#include "shutdown_keyword.h"

namespace kzo {
namespace {

TEST(ShutdownKeyword, MapsKeywordsInAnyCaseAndAnythingElseToPowerOff) {
    struct Case {
        const char* keyword;
        std::uint32_t mode;
    } cases[] = {
        {"TURNOFF", kExitPowerOff}, {"SHUTDOWN", kExitShutdown}, {"REBOOT", kExitReboot},
        {"LOGOFF", kExitLogoff},    {"reboot", kExitReboot},     {"LogOff", kExitLogoff},
        {"shutdown", kExitShutdown},
        // no match: power off
        {"RESTART", kExitPowerOff}, {"", kExitPowerOff},        {" REBOOT", kExitPowerOff},
        {"REBOOT ", kExitPowerOff}, {"REBOOTS", kExitPowerOff}, {"LOG OFF", kExitPowerOff},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exitModeForKeyword(c.keyword), c.mode) << "keyword '" << c.keyword << "'";
    }
}

}  // namespace
}  // namespace kzo
