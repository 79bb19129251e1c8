// The names pasted copies get: the first free " (n)", within the 64-character
// name field.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "paste_name.h"

namespace kzo {
namespace {

std::string pasted(const std::string& name, const std::set<std::string>& taken, LeadByteTest lead = nullptr) {
    return pasteName(name, [&taken](const std::string& candidate) { return taken.count(candidate) > 0; }, lead);
}

TEST(PasteName, FirstFreeNumberAfterTheBase) {
    struct Case {
        const char* name;
        std::set<std::string> taken;
        const char* expected;
    };
    const Case cases[] = {
        {"Backup", {"Backup"}, "Backup (1)"},
        {"Backup", {"Backup", "Backup (1)"}, "Backup (2)"},
        {"Backup", {"Backup", "Backup (1)", "Backup (3)"}, "Backup (2)"},
        {"Backup", {"Backup", "Backup (1)", "Backup (2)"}, "Backup (3)"},
        {"  Backup  ", {"Backup"}, "Backup (1)"},
        {"100% %d %s", {}, "100% %d %s (1)"},
        {"", {}, "(1)"},
        {"   ", {"(1)"}, "(2)"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, pasted(c.name, c.taken)) << c.name;
}

TEST(PasteName, LongNamesAreCutToFitTheField) {
    const std::string n59(59, 'a');
    const std::string n60(60, 'b');
    const std::string n64(64, 'c');
    EXPECT_EQ(n59 + " (1)", pasted(n59, {}));
    EXPECT_EQ(std::string(56, 'b') + "... (1)", pasted(n60, {}));
    EXPECT_EQ(std::string(56, 'c') + "... (1)", pasted(n64, {}));
    // Numbers of two digits still fit behind 59 characters.
    std::set<std::string> taken;
    for (int n = 1; n <= 98; ++n) taken.insert(n59 + " (" + std::to_string(n) + ")");
    EXPECT_EQ(n59 + " (99)", pasted(n59, taken));
    // A third digit does not: the base is cut further.
    taken.insert(n59 + " (99)");
    EXPECT_EQ(std::string(55, 'a') + "... (100)", pasted(n59, taken));
}

TEST(PasteName, EveryNameFitsAndIsNewUpToThousandsOfCopies) {
    struct Case {
        std::string base;
        int copies;
    } const cases[] = {{std::string(59, 'x'), 1001}, {std::string(64, 'y'), 120}, {"Short", 120}};
    for (const Case& c : cases) {
        const std::string& base = c.base;
        std::set<std::string> names = {base};
        for (int copy = 0; copy < c.copies; ++copy) {
            std::string name = pasted(base, names);
            ASSERT_LE(name.size(), kMaxTaskName) << name;
            ASSERT_EQ(0u, names.count(name)) << name;
            names.insert(name);
        }
    }
}

bool leadByte(unsigned char c) { return c == 0x81; }

TEST(PasteName, CutsKeepDoubleByteCharactersWhole) {
    // 55 single bytes, then double-byte characters: the 56th byte is a lead byte.
    std::string name = std::string(55, 'a') + "\x81\x40\x81\x40\x81\x40";
    EXPECT_EQ(std::string(55, 'a') + "... (1)", pasted(name, {}, leadByte));
}

}  // namespace
}  // namespace kzo
