// The help compiler over any page: a page either compiles, or is refused with
// a message that names the page and a line of it; a page that compiles is
// written into a help file that the checker reads back as the viewer would,
// with the page's title, its context number and hash, and its text.
//
// Input: the page's HTML.
#include <stdexcept>
#include <string>

#include "fuzz_input.h"
#include "help_source.h"
#include "hlp_check.h"
#include "hlp_writer.h"

namespace {

using namespace helpgen;

const std::string kPage = "Page.htm";

// "Page.htm:LINE: what", LINE a line of the page; or, from the writer,
// "Page.htm: what" for the title.
void checkRefusal(const std::string& message, std::size_t lines, bool lineRequired) {
    FUZZ_CHECK(message.compare(0, kPage.size(), kPage) == 0);
    std::size_t at = kPage.size();
    if (!lineRequired && message.compare(at, 2, ": ") == 0) return;
    FUZZ_CHECK(message.size() > at && message[at] == ':');
    std::size_t digits = message.find_first_not_of("0123456789", at + 1);
    FUZZ_CHECK(digits != std::string::npos && digits > at + 1 && digits - at - 1 <= 9);
    const std::size_t line = std::stoul(message.substr(at + 1, digits - at - 1));
    FUZZ_CHECK(line >= 1 && line <= lines);
    FUZZ_CHECK(message.compare(digits, 2, ": ") == 0 && message.size() > digits + 2);
}

// The text the checker gives back for a paragraph: a bullet and its tab, the
// runs, tabs and line breaks, and the paragraph's end.
std::string paragraphText(const Paragraph& p) {
    std::string text = p.style == Paragraph::Style::Bullet ? "\x95\t" : "";
    for (const Run& run : p.runs) {
        if (run.kind == Run::Kind::Tab) text += '\t';
        else if (run.kind == Run::Kind::LineBreak) text += '\n';
        else text += run.text;
    }
    return text + '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string html(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 1;
    for (char c : html) lines += c == '\n';

    Topic topic;
    try {
        topic = parseTopic(kPage, html);
    } catch (const std::runtime_error& refusal) {
        checkRefusal(refusal.what(), lines, true);
        return 0;
    }
    FUZZ_CHECK(!topic.title.empty() && topic.context == "Page");
    std::string text;
    for (const Paragraph& p : topic.paragraphs) {
        FUZZ_CHECK(!p.runs.empty());
        FUZZ_CHECK(p.line >= 1 && static_cast<std::size_t>(p.line) <= lines);
        text += paragraphText(p);
    }
    text += '\n';  // the file's last, empty paragraph

    HelpProject help;
    help.title = "Help";
    help.topics.push_back(topic);
    help.map[1] = "Page";
    help.contents.push_back({1, topic.title, "Page"});
    Bytes file;
    try {
        file = writeHlp(help);
    } catch (const std::runtime_error& refusal) {
        checkRefusal(refusal.what(), lines, false);
        return 0;
    }

    HlpContents read = readHlp(file);  // a file written is never refused
    FUZZ_CHECK(read.title == "Help");
    FUZZ_CHECK(read.topicTitles.size() == 1 && read.topicTitles[0] == topic.title);
    FUZZ_CHECK(read.contextTitles.size() == 1 && read.contextTitles[1] == topic.title);
    FUZZ_CHECK(read.hashTitles.size() == 1 && read.hashTitles[contextHash("Page")] == topic.title);
    FUZZ_CHECK(read.topicTexts.size() == 1 && read.topicTexts[0] == text);
    FUZZ_CHECK(writeCnt(help, "kzo.hlp") == ":Base kzo.hlp\r\n:Title Help\r\n1 " + topic.title + "=Page\r\n");
    return 0;
}
