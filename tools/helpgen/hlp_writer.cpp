#include "hlp_writer.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace helpgen {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::size_t kBlockSize = 4096;        // a topic block in the file
constexpr std::size_t kBlockHeader = 12;        // its header
constexpr std::uint32_t kPositionsPerBlock = 0x4000;  // a block's range of TOPICPOS
constexpr std::uint32_t kOffsetsPerBlock = 0x8000;    // a block's range of TOPICOFFSET
// What one block may hold before compression: with the zeros that fill the
// rest of the block, its expansion stays within the viewer's 16 KB buffer.
constexpr std::size_t kMaxBlockData = 12000;
// Blocks are planned with the links' positions as they would be if the next
// link stayed in the block, and before the topic headers are filled in: the
// room left for that grows until every block fits.
constexpr std::size_t kPlanningRoom = 64;
constexpr std::uint8_t kTopicHeaderRecord = 0x02, kDisplayRecord = 0x20;

// The font table, in the order of Font.
struct FontDescriptor {
    std::uint8_t attributes;  // 1 bold, 2 italic
    std::uint8_t halfPoints;
    std::uint8_t family;      // 1 modern, 3 swiss
    std::uint16_t face;       // 0 Arial, 1 Courier New
    std::uint8_t red, green, blue;
};
const FontDescriptor kFonts[] = {
    {0, 20, 3, 0, 0, 0, 0},       // Normal
    {1, 20, 3, 0, 0, 0, 0},       // Bold
    {2, 20, 3, 0, 0, 0, 0},       // Italic
    {1, 28, 3, 0, 9, 79, 192},    // Heading1
    {1, 22, 3, 0, 0, 0, 0},       // Heading2
    {0, 20, 1, 1, 0, 0, 0},       // Code
};
const char* const kFaces[] = {"Arial", "Courier New"};
constexpr std::size_t kFaceLength = 20;

// One TOPICLINK before positions are known: its record type and both data parts.
struct Link {
    std::uint8_t type;
    Bytes data1;          // LinkData1
    Bytes data2;          // LinkData2
    std::size_t topic;    // index of its topic
    int line = 0;         // its paragraph's line in the topic's page; 0 for the topic header
    std::uint32_t characters = 0;  // TopicLength, for display records
    // Filled by the layout:
    std::size_t block = 0;
    std::uint32_t position = 0;  // TOPICPOS
    std::uint32_t offset = 0;    // TOPICOFFSET of its start
    std::size_t size() const { return 21 + data1.size() + data2.size(); }
};

Bytes stringBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A paragraph's display record: LinkData1 (paragraph formatting and the
// character formatting commands) and LinkData2 (the strings between them).
void displayRecord(const Paragraph& paragraph, bool firstOfTopic, Link& link) {
    // Character formatting: a string of LinkData2 before every command.
    Bytes commands;
    std::string strings, current;
    auto command = [&](std::initializer_list<std::uint8_t> bytes, std::uint32_t operand, bool withOperand) {
        strings += current;
        strings += '\0';
        current.clear();
        commands.insert(commands.end(), bytes);
        if (withOperand) putLong(commands, operand);
    };
    auto font = [&](Font f) {
        command({0x80}, 0, false);
        putWord(commands, static_cast<std::uint16_t>(f));
    };
    Font currentFont = Font::Normal;
    font(currentFont);
    std::string currentLink;
    if (paragraph.style == Paragraph::Style::Bullet) {
        current += '\x95';
        command({0x83}, 0, false);
    }
    for (const Run& run : paragraph.runs) {
        if (run.link != currentLink && !currentLink.empty()) {
            command({0x89}, 0, false);
            currentLink.clear();
        }
        if (run.kind == Run::Kind::Tab) {
            command({0x83}, 0, false);
            continue;
        }
        if (run.kind == Run::Kind::LineBreak) {
            command({0x81}, 0, false);
            continue;
        }
        if (run.font != currentFont) {
            font(run.font);
            currentFont = run.font;
        }
        if (!run.link.empty() && run.link != currentLink) {
            command({0xE3}, contextHash(run.link), true);
            currentLink = run.link;
        }
        current += run.text;
    }
    if (!currentLink.empty()) command({0x89}, 0, false);
    command({0x82}, 0, false);
    strings += '\0';  // the empty string before the end mark
    commands.push_back(0xFF);
    link.characters = static_cast<std::uint32_t>(strings.size());

    // Paragraph formatting, in half points.
    std::uint16_t bits = 0;
    Bytes fields;
    int above = 0, below = 0, left = 0, first = 0, tab = 0;
    switch (paragraph.style) {
        case Paragraph::Style::Heading1: below = 12; break;
        case Paragraph::Style::Heading2: above = 16; below = 2; break;
        case Paragraph::Style::Body: above = 8; break;
        case Paragraph::Style::Bullet: above = 4; left = 36; first = -20; tab = 36; break;
        case Paragraph::Style::Row: above = 4; tab = paragraph.tabStop; left = tab; first = -tab; break;
        case Paragraph::Style::Pre: above = 8; left = 20; break;
    }
    if (firstOfTopic) above = 0;
    if (above) { bits |= 0x0002; putCompressedSignedShort(fields, above); }
    if (below) { bits |= 0x0004; putCompressedSignedShort(fields, below); }
    if (left) { bits |= 0x0010; putCompressedSignedShort(fields, left); }
    if (first) { bits |= 0x0040; putCompressedSignedShort(fields, first); }
    if (tab) {
        bits |= 0x0200;
        putCompressedSignedShort(fields, 1);
        putCompressedUnsignedShort(fields, static_cast<unsigned>(tab));
    }

    Bytes data1;
    putCompressedSignedLong(data1, static_cast<std::int32_t>(strings.size()));  // TopicSize
    putCompressedUnsignedShort(data1, link.characters);                          // TopicLength
    data1.push_back(0x00);  // unknown byte
    data1.push_back(0x80);  // unknown biased byte: 0
    putWord(data1, 0);      // paragraph id
    putWord(data1, bits);
    data1.insert(data1.end(), fields.begin(), fields.end());
    data1.insert(data1.end(), commands.begin(), commands.end());
    link.data1 = data1;
    link.data2 = stringBytes(strings);
}

// The 21-byte TOPICLINK header with the link's data, as it lies in its block.
Bytes linkBytes(const Link& link, std::uint32_t previous, std::uint32_t next) {
    Bytes out;
    putLong(out, static_cast<std::uint32_t>(link.size()));
    putLong(out, static_cast<std::uint32_t>(link.data2.size()));
    putLong(out, previous);
    putLong(out, next);
    putLong(out, static_cast<std::uint32_t>(21 + link.data1.size()));
    out.push_back(link.type);
    out.insert(out.end(), link.data1.begin(), link.data1.end());
    out.insert(out.end(), link.data2.begin(), link.data2.end());
    return out;
}

// A B+ tree of one leaf page holding the entries, which must be in key order.
Bytes bTree(const std::vector<Bytes>& entries, std::uint16_t pageSize, const std::string& structure,
            std::uint16_t flags) {
    Bytes page;
    putWord(page, 0);  // free bytes, set below
    putWord(page, static_cast<std::uint16_t>(entries.size()));
    putWord(page, 0xFFFF);  // previous page
    putWord(page, 0xFFFF);  // next page
    for (const Bytes& entry : entries) page.insert(page.end(), entry.begin(), entry.end());
    if (page.size() > pageSize) throw std::runtime_error("a B+ tree needs more than one page");
    std::uint16_t unused = static_cast<std::uint16_t>(pageSize - page.size());
    page[0] = static_cast<std::uint8_t>(unused);
    page[1] = static_cast<std::uint8_t>(unused >> 8);
    page.resize(pageSize, 0);

    Bytes tree;
    putWord(tree, 0x293B);
    putWord(tree, flags);
    putWord(tree, pageSize);
    std::string padded = structure;
    padded.resize(16, '\0');
    putString(tree, padded, false);
    putWord(tree, 0);       // must be zero
    putWord(tree, 0);       // page splits
    putWord(tree, 0);       // root page
    putWord(tree, 0xFFFF);  // must be -1
    putWord(tree, 1);       // pages
    putWord(tree, 1);       // levels
    putLong(tree, static_cast<std::uint32_t>(entries.size()));
    tree.insert(tree.end(), page.begin(), page.end());
    return tree;
}

class TopicFile {
public:
    explicit TopicFile(const HelpProject& help) : help_(help) {
        for (std::size_t t = 0; t < help.topics.size(); ++t) {
            const Topic& topic = help.topics[t];
            headers_.push_back(links_.size());
            links_.push_back(Link{kTopicHeaderRecord, Bytes(28, 0), stringBytes(topic.title), t});
            for (std::size_t p = 0; p < topic.paragraphs.size(); ++p) {
                Link link{kDisplayRecord, {}, {}, t, topic.paragraphs[p].line};
                try {
                    displayRecord(topic.paragraphs[p], p == 0, link);
                } catch (const std::runtime_error& error) {
                    throw failure(link, error.what());
                }
                links_.push_back(link);
            }
        }
        // The last link of the file carries nothing: an empty paragraph.
        Link last{kDisplayRecord, {}, {}, help.topics.size() - 1};
        displayRecord(Paragraph{Paragraph::Style::Body, {}, 0}, true, last);
        links_.push_back(last);
        for (std::size_t room = kPlanningRoom;; room += kPlanningRoom) {
            planBlocks(room);
            fillTopicHeaders();
            if (blocksFit()) break;
            if (room > 2048) throw std::runtime_error("the topic blocks cannot be laid out");
        }
    }

    // The |TOPIC file's content, block after block.
    Bytes bytes() const {
        Bytes out;
        std::size_t blocks = links_.back().block + 1;
        for (std::size_t b = 0; b < blocks; ++b) {
            Bytes packed = compressLz77(blockData(b));
            if (packed.size() > kBlockSize - kBlockHeader) throw std::runtime_error("a topic block overflows");
            std::uint32_t firstLink = kNone, lastBefore = kNone, lastHeader = kNone;
            for (const Link& link : links_) {
                if (link.block < b) {
                    lastBefore = link.position;
                    if (link.type == kTopicHeaderRecord) lastHeader = link.position;
                }
                if (link.block == b && firstLink == kNone) firstLink = link.position;
            }
            putLong(out, lastBefore);
            putLong(out, firstLink);
            putLong(out, lastHeader);
            out.insert(out.end(), packed.begin(), packed.end());
            // Every block but the last fills its 4 KB; the rest are zeros.
            if (b + 1 < blocks) out.resize(out.size() + (kBlockSize - kBlockHeader - packed.size()), 0);
        }
        return out;
    }

    std::uint32_t topicOffset(std::size_t topic) const { return links_[headers_[topic]].offset; }

private:
    // The links of block b laid end to end, as the block holds them expanded.
    Bytes blockData(std::size_t b) const {
        Bytes data;
        for (std::size_t i = 0; i < links_.size(); ++i) {
            const Link& link = links_[i];
            if (link.block != b) continue;
            std::uint32_t previous = i == 0 ? kNone : links_[i - 1].position;
            std::uint32_t next = i + 1 == links_.size() ? kNone : links_[i + 1].position;
            Bytes one = linkBytes(link, previous, next);
            data.insert(data.end(), one.begin(), one.end());
        }
        return data;
    }

    bool blocksFit() const {
        for (std::size_t b = 0; b <= links_.back().block; ++b) {
            if (compressLz77(blockData(b)).size() > kBlockSize - kBlockHeader) return false;
        }
        return true;
    }

    // Puts whole links into blocks: a block takes links while their data stays
    // within kMaxBlockData and compresses into its 4 KB with room to spare;
    // then gives each link its TOPICPOS and TOPICOFFSET.
    void planBlocks(std::size_t room) {
        std::size_t block = 0, start = 0;
        Bytes data;
        std::uint32_t previous = kNone;
        for (std::size_t i = 0; i < links_.size(); ++i) {
            for (int attempt = 0;; ++attempt) {
                std::uint32_t position =
                    static_cast<std::uint32_t>(block * kPositionsPerBlock + kBlockHeader + data.size());
                Bytes one = linkBytes(links_[i], previous,
                                      static_cast<std::uint32_t>(position + links_[i].size()));
                Bytes candidate = data;
                candidate.insert(candidate.end(), one.begin(), one.end());
                bool fits = candidate.size() <= kMaxBlockData &&
                            compressLz77(candidate).size() + room <= kBlockSize - kBlockHeader;
                if (fits || i == start) {
                    if (!fits || attempt > 1) {
                        throw failure(links_[i], links_[i].type == kTopicHeaderRecord
                                                     ? "the title is too long for a topic block"
                                                     : "a paragraph is too long for a topic block");
                    }
                    data = candidate;
                    previous = position;
                    break;
                }
                ++block;
                start = i;
                data.clear();
            }
            links_[i].block = block;
        }
        std::size_t at = 0;
        std::uint32_t characters = 0;
        for (std::size_t i = 0; i < links_.size(); ++i) {
            if (i > 0 && links_[i].block != links_[i - 1].block) {
                at = 0;
                characters = 0;
            }
            Link& link = links_[i];
            link.position = static_cast<std::uint32_t>(link.block * kPositionsPerBlock + kBlockHeader + at);
            link.offset = static_cast<std::uint32_t>(link.block * kOffsetsPerBlock + characters);
            at += link.size();
            if (link.type == kDisplayRecord) characters += link.characters;
            if (characters >= kOffsetsPerBlock) throw failure(link, "a topic block holds too many characters");
        }
    }

    void fillTopicHeaders() {
        for (std::size_t t = 0; t < headers_.size(); ++t) {
            std::size_t first = headers_[t];
            std::size_t end = t + 1 < headers_.size() ? headers_[t + 1] : links_.size() - 1;
            std::uint32_t size = 0;
            for (std::size_t i = first; i < end; ++i) size += static_cast<std::uint32_t>(links_[i].size());
            Bytes header;
            putLong(header, size);
            putLong(header, kNone);  // browse back
            putLong(header, kNone);  // browse forward
            putLong(header, static_cast<std::uint32_t>(t));
            putLong(header, kNone);  // no non-scrolling region
            putLong(header, first + 1 < end ? links_[first + 1].position : kNone);
            putLong(header, t + 1 < headers_.size() ? links_[headers_[t + 1]].position : kNone);
            links_[first].data1 = header;
        }
    }

    // "Page.htm:12: what", naming the page and line of the link's paragraph.
    std::runtime_error failure(const Link& link, const std::string& what) const {
        std::string where = link.topic < help_.topics.size() ? help_.topics[link.topic].file : std::string("the help");
        if (link.line > 0) where += ":" + std::to_string(link.line);
        return std::runtime_error(where + ": " + what);
    }

    const HelpProject& help_;
    std::vector<Link> links_;
    std::vector<std::size_t> headers_;  // index of each topic's header link
};

Bytes systemFile(const HelpProject& help, std::uint32_t contentsOffset) {
    Bytes out;
    putWord(out, 0x036C);  // magic
    putWord(out, 21);      // minor: the 3.1 format
    putWord(out, 1);       // major
    putLong(out, 0);       // generation date: none, so that builds are reproducible
    putWord(out, 4);       // LZ77-compressed 4 KB topic blocks
    auto record = [&](std::uint16_t type, const Bytes& data) {
        putWord(out, type);
        putWord(out, static_cast<std::uint16_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
    };
    Bytes title;
    putString(title, help.title);
    record(1, title);
    Bytes copyright;
    putString(copyright, "KZO Scheduler, Version 6.30, Build 677");
    record(2, copyright);
    Bytes contents;
    putLong(contents, contentsOffset);
    record(3, contents);
    return out;
}

Bytes fontFile() {
    Bytes out;
    std::size_t faces = sizeof kFaces / sizeof kFaces[0];
    std::size_t fonts = sizeof kFonts / sizeof kFonts[0];
    putWord(out, static_cast<std::uint16_t>(faces));
    putWord(out, static_cast<std::uint16_t>(fonts));
    putWord(out, 8);
    putWord(out, static_cast<std::uint16_t>(8 + faces * kFaceLength));
    for (const char* face : kFaces) {
        std::string padded = face;
        padded.resize(kFaceLength, '\0');
        putString(out, padded, false);
    }
    for (const FontDescriptor& font : kFonts) {
        out.push_back(font.attributes);
        out.push_back(font.halfPoints);
        out.push_back(font.family);
        putWord(out, font.face);
        out.push_back(font.red);
        out.push_back(font.green);
        out.push_back(font.blue);
        out.push_back(255);  // background
        out.push_back(255);
        out.push_back(255);
    }
    return out;
}

}  // namespace

Bytes writeHlp(const HelpProject& help) {
    if (help.topics.empty()) throw std::runtime_error("the help has no topic");
    TopicFile topics(help);
    std::map<std::string, std::uint32_t> offsets;
    for (std::size_t t = 0; t < help.topics.size(); ++t) offsets[help.topics[t].context] = topics.topicOffset(t);

    std::map<std::string, Bytes> files;
    files["|SYSTEM"] = systemFile(help, topics.topicOffset(0));
    files["|TOPIC"] = topics.bytes();
    files["|FONT"] = fontFile();

    // Context names by hash, as signed numbers in ascending order.
    std::vector<std::pair<std::int32_t, std::uint32_t>> contexts;
    for (const auto& [context, offset] : offsets)
        contexts.emplace_back(static_cast<std::int32_t>(contextHash(context)), offset);
    std::sort(contexts.begin(), contexts.end());
    std::vector<Bytes> contextEntries;
    for (std::size_t i = 0; i < contexts.size(); ++i) {
        if (i > 0 && contexts[i].first == contexts[i - 1].first)
            throw std::runtime_error("two context names share a hash");
        Bytes entry;
        putLong(entry, static_cast<std::uint32_t>(contexts[i].first));
        putLong(entry, contexts[i].second);
        contextEntries.push_back(entry);
    }
    files["|CONTEXT"] = bTree(contextEntries, 2048, "L4", 0x0002);

    Bytes map;
    putWord(map, static_cast<std::uint16_t>(help.map.size()));
    for (const auto& [number, context] : help.map) {
        putLong(map, number);
        putLong(map, offsets.at(context));
    }
    files["|CTXOMAP"] = map;

    // Topic titles by topic offset, for the viewer's search and history.
    std::vector<Bytes> titles;
    for (std::size_t t = 0; t < help.topics.size(); ++t) {
        Bytes entry;
        putLong(entry, topics.topicOffset(t));
        putString(entry, help.topics[t].title);
        titles.push_back(entry);
    }
    files["|TTLBTREE"] = bTree(titles, 2048, "Lz", 0x0002);

    // The file: header, the internal files, then the directory of them.
    Bytes out(16, 0);
    std::vector<Bytes> directory;
    for (const auto& [name, content] : files) {  // std::map: in name order, as the directory wants
        Bytes entry;
        putString(entry, name);
        putLong(entry, static_cast<std::uint32_t>(out.size()));
        directory.push_back(entry);
        putLong(out, static_cast<std::uint32_t>(9 + content.size()));  // reserved
        putLong(out, static_cast<std::uint32_t>(content.size()));      // used
        out.push_back(4);
        out.insert(out.end(), content.begin(), content.end());
    }
    std::uint32_t directoryStart = static_cast<std::uint32_t>(out.size());
    Bytes tree = bTree(directory, 1024, "z4", 0x0402);
    putLong(out, static_cast<std::uint32_t>(9 + tree.size()));
    putLong(out, static_cast<std::uint32_t>(tree.size()));
    out.push_back(4);
    out.insert(out.end(), tree.begin(), tree.end());

    Bytes header;
    putLong(header, 0x00035F3F);
    putLong(header, directoryStart);
    putLong(header, kNone);  // no free blocks
    putLong(header, static_cast<std::uint32_t>(out.size()));
    std::copy(header.begin(), header.end(), out.begin());
    return out;
}

std::string writeCnt(const HelpProject& help, const std::string& hlpName) {
    std::string text = ":Base " + hlpName + "\r\n:Title " + help.title + "\r\n";
    for (const ContentsEntry& entry : help.contents) {
        text += std::to_string(entry.level) + " " + entry.title;
        if (!entry.context.empty()) text += "=" + entry.context;
        text += "\r\n";
    }
    return text;
}

}  // namespace helpgen
