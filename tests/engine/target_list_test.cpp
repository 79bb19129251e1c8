// Splitting the target list of Message and Shut down tasks.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "target_list.h"

namespace kzo {
namespace {

using Entries = std::vector<std::string>;

TEST(TargetList, SplitsAtCommasTrimsBlanksAndSkipsEmptyEntries) {
    struct Case {
        const char* list;
        Entries entries;
    } cases[] = {
        {"", {}},
        {"PC1", {"PC1"}},
        {"  PC1  ", {"PC1"}},
        {"SERVER1, ,USER2", {"SERVER1", "USER2"}},
        {". , .", {".", "."}},
        {".,PC2", {".", "PC2"}},
        {",,,", {}},
        {" , ", {}},
        {",PC1,", {"PC1"}},
        {"*, **", {"*", "**"}},
        {"MY PC , other pc", {"MY PC", "other pc"}},  // inner blanks stay
        {"\tPC1\t", {"\tPC1\t"}},                     // only blanks are trimmed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitTargetList(c.list), c.entries) << "list '" << c.list << "'";
    }
}

TEST(TargetList, KeepsATargetAtTheEndOfAFullField) {
    // The Startup folder field holds 511 characters; a list filling it must
    // lose none of its targets.
    std::string list;
    char entry[8];
    for (int i = 0; i < 84; ++i) {
        std::snprintf(entry, sizeof entry, "PC%03d,", i);
        list += entry;
    }
    list += "   LAST";
    ASSERT_EQ(list.size(), 511u);

    Entries entries = splitTargetList(list);
    ASSERT_EQ(entries.size(), 85u);
    EXPECT_EQ(entries.front(), "PC000");
    EXPECT_EQ(entries.back(), "LAST");
}

}  // namespace
}  // namespace kzo
