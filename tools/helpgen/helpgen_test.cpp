// The Windows Help compiler's pure parts: its reading of the help pages, the
// numbers and the LZ77 of the format, and a written file read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "help_source.h"
#include "hlp_check.h"
#include "hlp_format.h"
#include "hlp_writer.h"

namespace helpgen {
namespace {

std::string page(const std::string& body, const std::string& title = "T") {
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

// The paragraphs as "style:text" with runs joined: [b] bold, {x} a link to x,
// \t a tab.
std::string describe(const Topic& topic) {
    std::string out;
    for (const Paragraph& p : topic.paragraphs) {
        out += std::to_string(static_cast<int>(p.style)) + ":";
        for (const Run& run : p.runs) {
            if (run.kind == Run::Kind::Tab) out += "\\t";
            else if (run.kind == Run::Kind::LineBreak) out += "\\n";
            else if (!run.link.empty()) out += "{" + run.link + "}" + run.text;
            else if (run.font == Font::Bold) out += "[b]" + run.text;
            else out += run.text;
        }
        out += "|";
    }
    return out;
}

TEST(HelpSource, PagesBecomeParagraphs) {
    struct Case {
        const char* body;
        const char* paragraphs;  // styles: 0 body 1 h1 2 h2 3 bullet 4 row 5 pre
    } cases[] = {
        {"<h1>Title</h1><p>One  two\n three</p>", "1:Title|0:One two three|"},
        {"<p>a <b>bold</b> word</p>", "0:a [b]bold word|"},
        {"<p>See <a href=\"Macros.htm\">macros</a>.</p>", "0:See {Macros}macros.|"},
        {"<p>Web <a href=\"http://x.example/\">site</a></p>", "0:Web site|"},
        {"<ul><li>first</li><li>second</li></ul>", "3:first|3:second|"},
        {"<table><tr><td>Key</td><td>meaning</td></tr></table>", "4:[b]Key\\tmeaning|"},
        {"<pre>line 1\nline 2</pre>", "5:line 1\\nline 2|"},
        {"<p>&lt;a&gt; &amp; &quot;q&quot; &#174;</p>", "0:<a> & \"q\" \xAE|"},
        {"loose text<p></p>", "0:loose text|"},
        {"<!-- a comment --><p>x<br>y</p>", "0:x\\ny|"},
        // A cell outside a row opens one, even before any paragraph.
        {"<table><td></td><td>Value</td></table>", "4:\\tValue|"},
        {"<td><td>", "4:\\t|"},
        {"<p>A long first paragraph</p><td></td><td>x</td>", "0:A long first paragraph|4:\\tx|"},
        {"<li>a</li><td>b", "3:a|4:[b]b|"},
        // Text in <pre> after a block tag closed its paragraph opens another.
        {"<pre><ul></ul>\n  Indented line\nB</pre>", "5:  Indented line\\nB|"},
        {"<pre><ul></ul>\n\nx</pre>", "5:x|"},
        {"<p>a</p><pre><ul></ul>\n\nx</pre>", "0:a|5:x|"},
        {"<pre>a<p>b</p>c</pre>", "5:a|0:b|5:c|"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.paragraphs, describe(parseTopic("Page.htm", page(c.body)))) << c.body;
}

// The message of what the call throws, or "" when it returns.
std::string failure(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return std::string();
}

TEST(HelpSource, RefusesWhatItCannotShowNamingPageAndLine) {
    struct Case {
        const char* html;
        const char* message;
    } cases[] = {
        {"<html><head><title>T</title></head><body>\n<p>a</p>\n<img src=\"x.png\">",
         "P.htm:3: the help writer does not know <img>"},
        {"<html><head><title>T</title></head><body>\n\n&unknown;", "P.htm:3: unknown entity &unknown;"},
        {"<html><head><title>T</title></head><body>&#x41;",
         "P.htm:1: character &#x41; is not a Windows-1252 code from 32 to 255"},
        {"<html><head><title>T</title></head><body>&#99999999999;",
         "P.htm:1: character &#99999999999; is not a Windows-1252 code from 32 to 255"},
        {"<html><head><title>T</title></head><body>\n<a href=\"my page.htm\">x</a>",
         "P.htm:2: context name \"my page\" holds a character Windows Help cannot hash"},
        {"<html><head><title>T</title></head><body><p>x\n<b", "P.htm:2: unclosed tag"},
        {"<html><body>\n<p>no title</p>\n</body></html>", "P.htm:3: no <title>"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.message, failure([&] { parseTopic("P.htm", c.html); })) << c.html;
    // A NUL would end the help file's string inside the text or the title.
    for (const char* around : {"<title>T</title><body>\n<p>a|b</p>", "\n<title>T|</title>\n", "<title>T</title>\n<p |>"}) {
        std::string html = around;
        html[html.find('|')] = '\0';
        EXPECT_EQ("P.htm:2: a NUL character, which the help file cannot hold",
                  failure([&] { parseTopic("P.htm", html); }))
            << around;
    }
    EXPECT_EQ("KZO_Term", contextOf("sub/KZO_Term.htm"));
}

// Every short sequence of the tags and texts the pages use, in any order,
// compiles and reads back.
TEST(HelpSource, AnyOrderOfTheKnownTagsCompiles) {
    const char* pieces[] = {"<p>",  "</p>",  "<td>", "</td>", "<th>", "<tr>",  "</tr>", "<table>", "</table>",
                            "<pre>", "</pre>", "<ul>", "</ul>", "<li>", "<h1>", "<b>",  "</b>",    "<br>",
                            "<a href=\"X.htm\">", "</a>", "x",   " y ",  "\n  z\n"};
    const std::size_t n = sizeof pieces / sizeof pieces[0];
    for (std::size_t i = 0; i < n * n * n; ++i) {
        std::string body = std::string(pieces[i % n]) + pieces[i / n % n] + pieces[i / n / n];
        EXPECT_EQ("", failure([&] {
            HelpProject help;
            help.title = "Help";
            help.topics.push_back(parseTopic("Page.htm", page(body)));
            readHlp(writeHlp(help));
        })) << body;
    }
}

TEST(HelpSource, ContentsBooksHoldTheirOwnTopicFirst) {
    std::string hhc =
        "<UL><LI><OBJECT><param name=\"Name\" value=\"Book\"><param name=\"Local\" value=\"A.htm\"></OBJECT>"
        "<UL><LI><OBJECT><param name=\"Name\" value=\"Inner\"><param name=\"Local\" value=\"B.htm\"></OBJECT></UL>"
        "<LI><OBJECT><param name=\"Name\" value=\"Last\"><param name=\"Local\" value=\"C.htm\"></OBJECT></UL>";
    std::string lines;
    for (const ContentsEntry& e : parseContents(hhc))
        lines += std::to_string(e.level) + " " + e.title + (e.context.empty() ? "" : "=" + e.context) + "|";
    EXPECT_EQ("1 Book|2 Book=A|2 Inner=B|1 Last=C|", lines);
}

TEST(HlpFormat, CompressedNumbers) {
    struct Case {
        int kind;  // 0 unsigned short, 1 signed short, 2 signed long
        int value;
        Bytes bytes;
    } cases[] = {
        {0, 0, {0x00}},          {0, 127, {0xFE}},        {0, 128, {0x01, 0x01}},
        {1, 0, {0x80}},          {1, -64, {0x00}},        {1, 63, {0xFE}},
        {1, 64, {0x81, 0x80}},   {1, -65, {0x7F, 0x7F}},  {2, 0, {0x00, 0x80}},
        {2, 16383, {0xFE, 0xFF}}, {2, 16384, {0x01, 0x80, 0x00, 0x80}},
    };
    for (const Case& c : cases) {
        Bytes out;
        if (c.kind == 0) putCompressedUnsignedShort(out, static_cast<unsigned>(c.value));
        if (c.kind == 1) putCompressedSignedShort(out, c.value);
        if (c.kind == 2) putCompressedSignedLong(out, c.value);
        EXPECT_EQ(c.bytes, out) << c.kind << " " << c.value;
    }
}

TEST(HlpFormat, Lz77ExpandsToWhatWasCompressed) {
    std::string longText;
    for (int i = 0; i < 600; ++i) longText += "word" + std::to_string(i % 37) + " ";
    std::string inputs[] = {"", "a", "abcabcabcabcabcabcabcabc", std::string(5000, 'z'), longText};
    for (const std::string& input : inputs) {
        Bytes data(input.begin(), input.end());
        Bytes packed = compressLz77(data);
        EXPECT_EQ(data, expandLz77(packed)) << input.size();
        if (input.size() > 100) {
            EXPECT_LT(packed.size(), data.size() / 2) << "no compression";
        }
    }
    // A reference before the start of the data is refused.
    EXPECT_THROW(expandLz77(Bytes{0x01, 0x05, 0x00}), std::runtime_error);
}

TEST(HlpFormat, ContextHash) {
    EXPECT_EQ(0u, contextHash(""));
    EXPECT_EQ(17u, contextHash("a"));
    EXPECT_EQ(contextHash("GENERAL"), contextHash("general"));
    EXPECT_EQ(1u * 43 * 43 + 10 * 43 + 13, contextHash("10_"));
    EXPECT_THROW(contextHash("a b"), std::runtime_error);
}

TEST(HlpWriter, WrittenFileReadsBackWithItsContexts) {
    HelpProject help;
    help.title = "Test Help";
    std::string many;
    for (int i = 0; i < 300; ++i) many += "<p>Paragraph " + std::to_string(i) + " of a long topic.</p>";
    help.topics.push_back(parseTopic("First.htm", page("<h1>First</h1><p>See <a href=\"Second.htm\">it</a>.</p>", "First topic")));
    help.topics.push_back(parseTopic("Second.htm", page(many, "Second topic")));  // spans topic blocks
    help.topics.push_back(parseTopic("Third.htm", page("<p>end</p>", "Third topic")));
    help.map = {{0, "First"}, {1, "Third"}, {7, "Second"}};

    HlpContents read = readHlp(writeHlp(help));
    EXPECT_EQ("Test Help", read.title);
    ASSERT_EQ(3u, read.topicTitles.size());
    EXPECT_EQ("Third topic", read.topicTitles[2]);
    EXPECT_EQ("First topic", read.contextTitles.at(0));
    EXPECT_EQ("Third topic", read.contextTitles.at(1));
    EXPECT_EQ("Second topic", read.contextTitles.at(7));
    EXPECT_EQ("Second topic", read.hashTitles.at(contextHash("Second")));
    EXPECT_NE(std::string::npos, read.topicTexts[1].find("Paragraph 299 of a long topic."));
    EXPECT_NE(std::string::npos, read.topicTexts[0].find("See it."));
}

TEST(HlpWriter, ContentsFile) {
    HelpProject help;
    help.title = "Help";
    help.contents = {{1, "Book", ""}, {2, "Page", "Page"}};
    EXPECT_EQ(":Base kzo.hlp\r\n:Title Help\r\n1 Book\r\n2 Page=Page\r\n", writeCnt(help, "kzo.hlp"));
}

TEST(HlpWriter, ParagraphTooLongNamesItsPageAndLine) {
    std::string text;  // letters that do not compress
    for (std::uint32_t i = 0, seed = 1; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += static_cast<char>('a' + (seed >> 16) % 26);
    }
    HelpProject help;
    help.title = "Help";
    help.topics.push_back(parseTopic("Long.htm", page("<p>short</p>\n\n<p>" + text + "</p>")));
    EXPECT_EQ("Long.htm:3: a paragraph is too long for a topic block", failure([&] { writeHlp(help); }));
}

// A small help file, to be damaged below.
Bytes goodHlp() {
    HelpProject help;
    help.title = "Damage";
    help.topics.push_back(parseTopic("One.htm", page("<h1>One</h1><p>See <a href=\"Two.htm\">two</a>.</p>", "One")));
    help.topics.push_back(parseTopic("Two.htm", page("<ul><li>a</li></ul><pre>b\nc</pre>", "Two")));
    help.map = {{1, "One"}, {2, "Two"}};
    return writeHlp(help);
}

void setWord(Bytes& file, std::size_t at, std::uint16_t value) {
    file[at] = static_cast<std::uint8_t>(value);
    file[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
void setLong(Bytes& file, std::size_t at, std::uint32_t value) {
    setWord(file, at, static_cast<std::uint16_t>(value));
    setWord(file, at + 2, static_cast<std::uint16_t>(value >> 16));
}

// Where the directory entry of an internal file keeps the file's offset.
std::size_t entryOffsetAt(const Bytes& file, const std::string& name) {
    std::string key = name + std::string(1, '\0');
    auto found = std::search(file.begin() + getLong(file, 4), file.end(), key.begin(), key.end());
    EXPECT_NE(file.end(), found) << name;
    return static_cast<std::size_t>(found - file.begin()) + key.size();
}
std::size_t contentAt(const Bytes& file, const std::string& name) {
    return getLong(file, entryOffsetAt(file, name)) + 9;
}
Bytes content(const Bytes& file, const std::string& name) {
    std::size_t at = contentAt(file, name);
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(at),
                 file.begin() + static_cast<std::ptrdiff_t>(at + getLong(file, at - 5)));
}

// Gives an internal file new content, placed at the very end of the file.
void replaceAtEnd(Bytes& file, const std::string& name, const Bytes& content) {
    setLong(file, entryOffsetAt(file, name), static_cast<std::uint32_t>(file.size()));
    putLong(file, static_cast<std::uint32_t>(9 + content.size()));
    putLong(file, static_cast<std::uint32_t>(content.size()));
    file.push_back(4);
    file.insert(file.end(), content.begin(), content.end());
    setLong(file, 12, static_cast<std::uint32_t>(file.size()));
}

TEST(HlpCheck, DamagedFilesAreReportedWithoutReadingPastThem) {
    struct Case {
        const char* damage;
        std::function<void(Bytes&)> apply;
        const char* message;
    } cases[] = {
        {"cut inside the first directory name",
         [](Bytes& f) {
             f.resize(entryOffsetAt(f, "|CONTEXT") - 5);
             setLong(f, 12, static_cast<std::uint32_t>(f.size()));
         },
         "the directory does not fit in the file"},
        {"the last directory name runs to the end of the file",
         [](Bytes& f) {
             std::fill(f.begin() + static_cast<std::ptrdiff_t>(entryOffsetAt(f, "|TTLBTREE") - 10), f.end(), 'A');
         },
         "a string in the page of the directory has no end"},
        {"a directory entry points past the file",
         [](Bytes& f) { setLong(f, entryOffsetAt(f, "|TOPIC"), static_cast<std::uint32_t>(f.size() - 4)); },
         "the header of |TOPIC runs past the end of the file"},
        {"the title record at the very end, without its end",
         [](Bytes& f) {
             Bytes system = content(f, "|SYSTEM");
             system.resize(12);
             putWord(system, 1);
             putWord(system, 6);
             putString(system, "Damage", false);
             replaceAtEnd(f, "|SYSTEM", system);
         },
         "a string in |SYSTEM record 1 has no end"},
        {"a |SYSTEM record longer than |SYSTEM",
         [](Bytes& f) {
             Bytes system = content(f, "|SYSTEM");
             system.resize(12);
             putWord(system, 1);
             putWord(system, 200);
             putString(system, "Damage");
             replaceAtEnd(f, "|SYSTEM", system);
         },
         "|SYSTEM is cut short"},
        {"the last paragraph's text without its end",
         [](Bytes& f) {
             Bytes topic = content(f, "|TOPIC");
             ASSERT_LT(topic.size(), 4096u);
             Bytes block = expandLz77(Bytes(topic.begin() + 12, topic.end()));
             ASSERT_EQ(Bytes(3, 0), Bytes(block.end() - 3, block.end()));
             std::fill(block.end() - 3, block.end(), 'x');
             Bytes packed = compressLz77(block);
             topic.resize(12);
             topic.insert(topic.end(), packed.begin(), packed.end());
             replaceAtEnd(f, "|TOPIC", topic);
         },
         "a string in a paragraph's text has no end"},
        {"|TOPIC shorter than a block header",
         [](Bytes& f) { replaceAtEnd(f, "|TOPIC", Bytes(5, 0)); },
         "a topic block is cut short"},
        {"|CONTEXT's page is smaller than its entries",
         [](Bytes& f) { setWord(f, contentAt(f, "|CONTEXT") + 4, 8 + 8); },
         "the page of |CONTEXT is cut short"},
        {"|CTXOMAP counts more entries than it holds",
         [](Bytes& f) { setWord(f, contentAt(f, "|CTXOMAP"), 0xFFFF); },
         "|CTXOMAP is cut short"},
    };
    ASSERT_EQ("", failure([] { readHlp(goodHlp()); }));
    for (const Case& c : cases) {
        Bytes file = goodHlp();
        c.apply(file);
        EXPECT_EQ(c.message, failure([&] { readHlp(file); })) << c.damage;
    }
}

// Every cut of a file and every byte changed either reads back or is reported
// as damaged (std::runtime_error), with no other failure.
TEST(HlpCheck, AnyCutOrChangedByteIsReadSafely) {
    const Bytes good = goodHlp();
    for (std::size_t size = 16; size < good.size(); ++size) {
        Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        setLong(cut, 12, static_cast<std::uint32_t>(size));
        EXPECT_NE("", failure([&] { readHlp(cut); })) << size;
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (std::uint8_t change : {0x01, 0x80, 0xFF}) {
            Bytes changed = good;
            changed[at] ^= change;
            EXPECT_NO_THROW(failure([&] { readHlp(changed); })) << at << " ^ " << int(change);
        }
    }
}

}  // namespace
}  // namespace helpgen
