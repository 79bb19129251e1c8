// The network browser's listing over a scripted netapi32: the answers in
// several parts, a list that repeats itself, and the failures that leave the
// browser disabled.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "network_listing.h"
#include "recording_actions.h"

namespace kzo {
namespace {

using test::RecordingActions;
using test::ServerEnumAnswer;
using Names = std::vector<std::string>;

TEST(NetworkListing, JoinsThePartsAndEndsWhenNothingNewComes) {
    struct Case {
        const char* what;
        std::vector<ServerEnumAnswer> answers;
        bool ok;
        std::uint32_t status;
        Names names;
    } const cases[] = {
        {"one answer", {{0, {L"PC1", L"PC2"}}}, true, 0, {"PC1", "PC2"}},
        {"in parts, in arrival order", {{234, {L"PC9", L"PC1"}}, {0, {L"PC5"}}}, true, 0, {"PC9", "PC1", "PC5"}},
        {"a repeating list", {{234, {L"PC1", L"PC2"}}, {234, {L"PC2", L"PC1"}}}, true, 234, {"PC1", "PC2"}},
        {"an empty network", {{0, {}}}, true, 0, {}},
        {"no network", {{1222, {}}}, false, 1222, {}},
        {"stub", {{120, {}}}, false, 120, {}},
        {"refused, its names unused", {{5, {L"PC1"}}}, false, 5, {}},
    };
    for (const Case& c : cases) {
        RecordingActions actions;
        actions.serverEnumAnswers = c.answers;
        std::unique_ptr<NetApi> api = actions.loadNetApi();
        NetworkListing listing = listNetworkComputers(api.get(), 126);
        EXPECT_EQ(c.ok, listing.ok) << c.what;
        EXPECT_EQ(c.status, listing.status) << c.what;
        EXPECT_EQ(c.names, listing.names) << c.what;
    }
}

TEST(NetworkListing, WithoutTheLibraryOrItsFunctionTheLoadErrorIsTheStatus) {
    NetworkListing none = listNetworkComputers(nullptr, 126);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(126u, none.status);

    RecordingActions actions;
    actions.serverEnumPresent = false;
    std::unique_ptr<NetApi> api = actions.loadNetApi();
    NetworkListing missing = listNetworkComputers(api.get(), 127);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(127u, missing.status);
}

}  // namespace
}  // namespace kzo
