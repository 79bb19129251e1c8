// The command line of the service program and its usage text.
#include <gtest/gtest.h>

#include "command_line.h"

namespace kzo {
namespace {

TEST(ServiceCommandLine, ArgumentsByPrefixAndCase) {
    struct Case {
        std::vector<std::string> args;
        ServiceCommand expected;
    };
    const Case cases[] = {
        {{}, ServiceCommand::RunService},
        {{"/r"}, ServiceCommand::Register},
        {{"/R"}, ServiceCommand::Register},
        {{"-r"}, ServiceCommand::Register},
        {{"-R"}, ServiceCommand::Register},
        {{"/u"}, ServiceCommand::Unregister},
        {{"-U"}, ServiceCommand::Unregister},
        {{"/d"}, ServiceCommand::Debug},
        {{"-D"}, ServiceCommand::Debug},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, parseServiceCommand(c.args))
            << (c.args.empty() ? std::string("(none)") : c.args[0]);
    }
}

TEST(ServiceCommandLine, AnythingElseAsksForTheUsageText) {
    const std::vector<std::vector<std::string>> cases = {
        {"/x"}, {"r"}, {"/"}, {""}, {"/rr"}, {"/reg"}, {"+r"}, {"\\r"}, {"/r", "/d"}, {"/d", "/d"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(ServiceCommand::Usage, parseServiceCommand(args))
            << args[0] << (args.size() > 1 ? " " + args[1] : "");
    }
}

}  // namespace
}  // namespace kzo
