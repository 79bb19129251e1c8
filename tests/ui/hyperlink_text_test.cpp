// The Internet shortcut files of the hyperlink label: names made from a label's
// text, and their contents.
#include <gtest/gtest.h>

#include <string>

#include "hyperlink_text.h"

namespace kzo {
namespace {

TEST(HyperlinkTextTest, ShortcutFileNameFromTheLabelText) {
    struct Case {
        std::string label;
        std::string file;
    };
    const Case cases[] = {
        {"www.veldmark.example", "www.veldmark.example.URL"},
        {"https://www.veldmark.example/kzo?x=1", "https___www.veldmark.example_kzo_x=1.URL"},
        {"a<b>c|d\"e*f\\g", "a_b_c_d_e_f_g.URL"},
        {"  Home page  ", "Home page.URL"},
        {"Support.", "Support.URL"},
        {"Tab\there", "Tab_here.URL"},
        {"...", "Link.URL"},
        {"", "Link.URL"},
        {std::string(300, 'x'), std::string(200, 'x') + ".URL"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.file, internetShortcutFileName(c.label)) << c.label;
}

TEST(HyperlinkTextTest, ShortcutContentsHoldTheAddressOnOneLine) {
    EXPECT_EQ("[InternetShortcut]\r\nURL=https://www.veldmark.example/\r\n",
              internetShortcutContents("https://www.veldmark.example/"));
    EXPECT_EQ("[InternetShortcut]\r\nURL=https://a.example/b\r\n", internetShortcutContents("https://a.example/\r\nb"));
}

}  // namespace
}  // namespace kzo
