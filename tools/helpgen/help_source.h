// The help's one source: the HTML Help project (kzo.hhp), its topic pages and
// its contents file (kzo.hhc), read into plain topics that the Windows Help
// writer lays out. The pages use a small part of HTML: title, h1, h2, p, ul/li,
// two-column tables, pre, b, i, code, br and links to other pages.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace helpgen {

enum class Font { Normal, Bold, Italic, Heading1, Heading2, Code };

// A stretch of text in one font; a link run jumps to the topic named.
struct Run {
    enum class Kind { Text, Tab, LineBreak };
    Kind kind = Kind::Text;
    std::string text;  // Windows-1252
    Font font = Font::Normal;
    std::string link;  // context name of the target topic, empty for none
};

struct Paragraph {
    enum class Style { Body, Heading1, Heading2, Bullet, Row, Pre };
    Style style = Style::Body;
    std::vector<Run> runs;
    int tabStop = 0;  // Row: where the second column starts, in half points
    int line = 0;     // the page's line it starts on, for messages
};

struct Topic {
    std::string file;     // "General.htm"
    std::string context;  // "General": the file name without its extension
    std::string title;
    std::vector<Paragraph> paragraphs;
};

// One line of the contents: a book (no topic) or a topic, at a level from 1.
struct ContentsEntry {
    int level = 1;
    std::string title;
    std::string context;  // empty for a book
};

struct HelpProject {
    std::string title;
    std::vector<Topic> topics;                   // in the project's file order
    std::map<std::uint32_t, std::string> map;    // context number -> context name
    std::vector<ContentsEntry> contents;
};

// The context name of a page file: its name without folder and extension.
std::string contextOf(const std::string& file);

// One topic page. Throws std::runtime_error, naming the page and line ("P.htm:12:
// ..."), on what the subset does not know.
Topic parseTopic(const std::string& file, const std::string& html);

// The contents file's nested lists as contents lines: an item with a nested
// list becomes a book holding itself as its first topic.
std::vector<ContentsEntry> parseContents(const std::string& hhc);

// The project file and everything it names, read from its folder.
HelpProject readProject(const std::string& projectPath);

}  // namespace helpgen
