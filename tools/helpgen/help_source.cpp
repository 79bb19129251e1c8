#include "help_source.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "hlp_format.h"

namespace helpgen {

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trim(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return std::string();
    std::size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The character an entity stands for, in Windows-1252.
std::string entity(const std::string& name) {
    static const std::map<std::string, std::string> named = {
        {"amp", "&"},     {"lt", "<"},      {"gt", ">"},      {"quot", "\""},   {"nbsp", " "},
        {"reg", "\xAE"},  {"copy", "\xA9"}, {"bull", "\x95"}, {"mdash", "\x97"}, {"ndash", "\x96"},
    };
    if (!name.empty() && name[0] == '#') {
        std::string digits = name.substr(1);
        int code = digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos
                       ? 0
                       : std::stoi(digits);
        if (code < 32 || code > 255)
            throw std::runtime_error("character &" + name + "; is not a Windows-1252 code from 32 to 255");
        return std::string(1, static_cast<char>(code));
    }
    auto found = named.find(name);
    if (found == named.end()) throw std::runtime_error("unknown entity &" + name + ";");
    return found->second;
}

struct Tag {
    std::string name;
    bool closing = false;
    std::map<std::string, std::string> attributes;
};

Tag parseTag(const std::string& inside) {
    Tag tag;
    std::size_t i = 0;
    if (i < inside.size() && inside[i] == '/') {
        tag.closing = true;
        ++i;
    }
    std::size_t nameEnd = inside.find_first_of(" \t\r\n/", i);
    tag.name = lower(inside.substr(i, nameEnd - i));
    i = nameEnd;
    while (i != std::string::npos && i < inside.size()) {
        i = inside.find_first_not_of(" \t\r\n/", i);
        if (i == std::string::npos) break;
        std::size_t equals = inside.find('=', i);
        if (equals == std::string::npos) break;
        std::string name = lower(trim(inside.substr(i, equals - i)));
        std::size_t valueStart = inside.find_first_not_of(" \t", equals + 1);
        if (valueStart == std::string::npos) break;
        std::string value;
        if (inside[valueStart] == '"') {
            std::size_t close = inside.find('"', valueStart + 1);
            value = inside.substr(valueStart + 1, close - valueStart - 1);
            i = close == std::string::npos ? close : close + 1;
        } else {
            std::size_t close = inside.find_first_of(" \t", valueStart);
            value = inside.substr(valueStart, close - valueStart);
            i = close;
        }
        tag.attributes[name] = value;
    }
    return tag;
}

// Builds the paragraphs of one page as its tags and text arrive. At most the
// last paragraph is open (open_); whatever writes into the page goes through
// current(), which opens one when none is, so that no order of tags finds the
// page without the paragraph it writes into.
class TopicBuilder {
public:
    explicit TopicBuilder(Topic& topic) : topic_(topic) {}

    // The page's line that the next tag or text comes from, given to the
    // paragraphs they open.
    void setLine(int line) { line_ = line; }

    void tag(const Tag& tag) {
        const std::string& n = tag.name;
        if (n == "title") {
            inTitle_ = !tag.closing;
        } else if (n == "h1" || n == "h2") {
            tag.closing ? end() : start(n == "h1" ? Paragraph::Style::Heading1 : Paragraph::Style::Heading2);
        } else if (n == "p") {
            tag.closing ? end() : start(Paragraph::Style::Body);
        } else if (n == "li") {
            tag.closing ? end() : start(Paragraph::Style::Bullet);
        } else if (n == "pre") {
            tag.closing ? end() : start(Paragraph::Style::Pre);
            inPre_ = !tag.closing;
        } else if (n == "table") {
            if (!tag.closing) tableStart_ = topic_.paragraphs.size();
            else layOutTable();
        } else if (n == "tr") {
            tag.closing ? end() : start(Paragraph::Style::Row);
            cell_ = 0;
        } else if (n == "td" || n == "th") {
            if (tag.closing) {
                if (cellBold_) --bold_;
                cellBold_ = false;
                return;
            }
            if (!open_ || current().style != Paragraph::Style::Row) {  // a cell outside a row opens one
                start(Paragraph::Style::Row);
                cell_ = 0;
            }
            if (cell_ == 1) firstCellWidth_ = std::max(firstCellWidth_, widthOfCurrent());
            if (cell_++ > 0) append(Run{Run::Kind::Tab, "", Font::Normal, ""});
            cellBold_ = n == "th" || cell_ == 1;
            if (cellBold_) ++bold_;
            pendingSpace_ = false;
        } else if (n == "b" || n == "strong") {
            bold_ += tag.closing ? -1 : 1;
        } else if (n == "i" || n == "em") {
            italic_ += tag.closing ? -1 : 1;
        } else if (n == "code") {
            code_ += tag.closing ? -1 : 1;
        } else if (n == "br") {
            append(Run{Run::Kind::LineBreak, "", Font::Normal, ""});
            pendingSpace_ = false;
        } else if (n == "a") {
            link_ = tag.closing ? std::string() : linkTarget(tag);
        } else if (n == "ul" || n == "html" || n == "head" || n == "body" || n == "meta" || n == "link" ||
                   n == "!doctype") {
            if (n == "ul") end();
        } else {
            throw std::runtime_error("the help writer does not know <" + n + ">");
        }
    }

    void text(const std::string& raw) {
        if (inTitle_) {
            topic_.title += raw;
            return;
        }
        if (inPre_) {
            std::size_t begin = 0;
            while (begin <= raw.size()) {
                std::size_t newline = raw.find('\n', begin);
                std::string line = raw.substr(begin, newline == std::string::npos ? std::string::npos : newline - begin);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                if (!line.empty()) appendText(line);
                if (newline == std::string::npos) break;
                if (newline > 0 && hasText()) append(Run{Run::Kind::LineBreak, "", Font::Normal, ""});
                begin = newline + 1;
            }
            return;
        }
        std::string collapsed;
        for (char c : raw) {
            bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
            if (space) {
                pendingSpace_ = true;
                continue;
            }
            if (pendingSpace_ && (!collapsed.empty() || hasText())) collapsed += ' ';
            pendingSpace_ = false;
            collapsed += c;
        }
        if (!collapsed.empty()) appendText(collapsed);
    }

    void finish() {
        end();
        topic_.title = trim(topic_.title);
        if (topic_.title.empty()) throw std::runtime_error("no <title>");
    }

private:
    // The open paragraph; text outside any block opens a body paragraph (a
    // preformatted one inside <pre>, whose own may have been closed by a block
    // tag within it).
    Paragraph& current() {
        if (!open_) start(inPre_ ? Paragraph::Style::Pre : Paragraph::Style::Body);
        return topic_.paragraphs.back();
    }

    void start(Paragraph::Style style) {
        end();
        topic_.paragraphs.push_back(Paragraph{style, {}, 0, line_});
        open_ = true;
        pendingSpace_ = false;
    }
    void end() {
        if (open_ && topic_.paragraphs.back().runs.empty()) topic_.paragraphs.pop_back();
        open_ = false;
    }
    bool hasText() const { return open_ && !topic_.paragraphs.back().runs.empty(); }

    Font font() const {
        if (open_ && topic_.paragraphs.back().style == Paragraph::Style::Heading1) return Font::Heading1;
        if (open_ && topic_.paragraphs.back().style == Paragraph::Style::Heading2) return Font::Heading2;
        if (code_ > 0 || inPre_) return Font::Code;
        if (bold_ > 0) return Font::Bold;
        if (italic_ > 0) return Font::Italic;
        return Font::Normal;
    }

    // A blank between runs of different fonts or links stays with the run
    // before, so that a link does not start with it.
    void appendText(std::string text) {
        Run run{Run::Kind::Text, text, font(), link_};
        std::vector<Run>& runs = current().runs;
        if (text.size() > 1 && text[0] == ' ' && !runs.empty() && runs.back().kind == Run::Kind::Text &&
            (runs.back().font != run.font || runs.back().link != run.link)) {
            runs.back().text += ' ';
            run.text.erase(0, 1);
        }
        append(run);
    }

    void append(const Run& run) {
        std::vector<Run>& runs = current().runs;
        if (run.kind == Run::Kind::Text && !runs.empty() && runs.back().kind == Run::Kind::Text &&
            runs.back().font == run.font && runs.back().link == run.link) {
            runs.back().text += run.text;
        } else {
            runs.push_back(run);
        }
    }

    // An estimate of the current first cell's width in half points: Arial at
    // 10 points averages about 11 half points a character, bold a little more.
    int widthOfCurrent() {
        int characters = 0;
        for (const Run& run : current().runs) characters += static_cast<int>(run.text.size());
        return characters * 12;
    }

    void layOutTable() {
        int tab = std::min(std::max(firstCellWidth_ + 24, 120), 400);
        for (std::size_t i = tableStart_; i < topic_.paragraphs.size(); ++i) {
            if (topic_.paragraphs[i].style == Paragraph::Style::Row) topic_.paragraphs[i].tabStop = tab;
        }
        firstCellWidth_ = 0;
    }

    // The context a link jumps to; one that Windows Help could not file under
    // its hash is refused here, where the page and line are known.
    std::string linkTarget(const Tag& tag) {
        auto href = tag.attributes.find("href");
        if (href == tag.attributes.end()) return std::string();
        std::string target = href->second;
        if (target.find(':') != std::string::npos) return std::string();  // another site
        std::string context = contextOf(target.substr(0, target.find('#')));
        contextHash(context);
        return context;
    }

    Topic& topic_;
    bool open_ = false;
    bool inTitle_ = false;
    bool inPre_ = false;
    bool pendingSpace_ = false;
    bool cellBold_ = false;
    int bold_ = 0, italic_ = 0, code_ = 0;
    int cell_ = 0;
    int firstCellWidth_ = 0;
    int line_ = 1;
    std::size_t tableStart_ = 0;
    std::string link_;
};

std::map<std::string, std::vector<std::string>> sections(const std::string& text) {
    std::map<std::string, std::vector<std::string>> result;
    std::string section;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = lower(line.substr(1, line.size() - 2));
            continue;
        }
        result[section].push_back(line);
    }
    return result;
}

std::string valueAfter(const std::string& line, char separator) {
    std::size_t at = line.find(separator);
    return at == std::string::npos ? std::string() : trim(line.substr(at + 1));
}

}  // namespace

std::string contextOf(const std::string& file) {
    std::size_t slash = file.find_last_of("/\\");
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

Topic parseTopic(const std::string& file, const std::string& html) {
    Topic topic;
    topic.file = file;
    topic.context = contextOf(file);
    TopicBuilder builder(topic);
    // The line of a position in the page, counted forward as the reading goes.
    std::size_t counted = 0;
    int line = 1;
    auto lineOf = [&](std::size_t at) {
        for (; counted < at; ++counted) line += html[counted] == '\n';
        return line;
    };
    std::string text;
    std::size_t textStart = 0, token = 0;
    auto flushText = [&] {
        if (text.empty()) return;
        builder.setLine(lineOf(textStart));
        builder.text(text);
        text.clear();
    };
    try {
        token = html.find('\0');
        if (token != std::string::npos) throw std::runtime_error("a NUL character, which the help file cannot hold");
        for (std::size_t i = 0; i < html.size();) {
            token = i;
            char c = html[i];
            if (c == '<') {
                std::size_t close = html.find('>', i);
                if (close == std::string::npos) throw std::runtime_error("unclosed tag");
                flushText();
                std::string inside = html.substr(i + 1, close - i - 1);
                if (inside.rfind("!--", 0) == 0) {
                    std::size_t commentEnd = html.find("-->", i);
                    i = commentEnd == std::string::npos ? html.size() : commentEnd + 3;
                    continue;
                }
                builder.setLine(lineOf(i));
                builder.tag(parseTag(inside));
                i = close + 1;
            } else if (c == '&') {
                std::size_t semicolon = html.find(';', i);
                if (semicolon == std::string::npos) throw std::runtime_error("unended entity");
                if (text.empty()) textStart = i;
                text += entity(html.substr(i + 1, semicolon - i - 1));
                i = semicolon + 1;
            } else {
                if (text.empty()) textStart = i;
                text += c;
                ++i;
            }
        }
        token = html.size();
        flushText();
        builder.finish();
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(file + ":" + std::to_string(lineOf(token)) + ": " + error.what());
    }
    return topic;
}

std::vector<ContentsEntry> parseContents(const std::string& hhc) {
    struct Item {
        int level;
        std::string name, local;
    };
    std::vector<Item> items;
    int level = 0;
    for (std::size_t i = hhc.find('<'); i != std::string::npos; i = hhc.find('<', i + 1)) {
        std::size_t close = hhc.find('>', i);
        if (close == std::string::npos) break;
        Tag tag = parseTag(hhc.substr(i + 1, close - i - 1));
        if (tag.name == "ul") {
            level += tag.closing ? -1 : 1;
        } else if (tag.name == "li") {
            items.push_back(Item{level, "", ""});
        } else if (tag.name == "param" && !items.empty()) {
            std::string name = lower(tag.attributes["name"]);
            if (name == "name") items.back().name = tag.attributes["value"];
            if (name == "local") items.back().local = tag.attributes["value"];
        }
    }
    std::vector<ContentsEntry> entries;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        bool book = i + 1 < items.size() && items[i + 1].level > item.level;
        if (book) {
            entries.push_back(ContentsEntry{item.level, item.name, ""});
            if (!item.local.empty()) entries.push_back(ContentsEntry{item.level + 1, item.name, contextOf(item.local)});
        } else {
            entries.push_back(ContentsEntry{item.level, item.name, contextOf(item.local)});
        }
    }
    return entries;
}

HelpProject readProject(const std::string& projectPath) {
    std::size_t slash = projectPath.find_last_of("/\\");
    std::string folder = slash == std::string::npos ? std::string() : projectPath.substr(0, slash + 1);
    auto project = sections(readWhole(projectPath));
    HelpProject help;
    std::string contentsFile;
    for (const std::string& line : project["options"]) {
        std::string key = lower(trim(line.substr(0, line.find('='))));
        if (key == "title") help.title = valueAfter(line, '=');
        if (key == "contents file") contentsFile = valueAfter(line, '=');
    }
    for (const std::string& file : project["files"]) {
        std::string extension = lower(file.substr(file.find_last_of('.') + 1));
        if (extension == "htm" || extension == "html") help.topics.push_back(parseTopic(file, readWhole(folder + file)));
    }
    std::map<std::string, std::string> aliases;
    for (const std::string& line : project["alias"])
        aliases[trim(line.substr(0, line.find('=')))] = contextOf(valueAfter(line, '='));
    for (const std::string& line : project["map"]) {
        std::istringstream words(line);
        std::string define, name;
        std::uint32_t number = 0;
        if (!(words >> define >> name >> number) || define != "#define" || !aliases.count(name))
            throw std::runtime_error("cannot read the [MAP] line: " + line);
        help.map[number] = aliases[name];
    }
    if (!contentsFile.empty()) help.contents = parseContents(readWhole(folder + contentsFile));
    for (const auto& mapped : help.map) {
        const std::string& context = mapped.second;
        bool known = std::any_of(help.topics.begin(), help.topics.end(),
                                 [&](const Topic& topic) { return topic.context == context; });
        if (!known) throw std::runtime_error("context " + std::to_string(mapped.first) + " names no topic: " + context);
    }
    return help;
}

}  // namespace helpgen
