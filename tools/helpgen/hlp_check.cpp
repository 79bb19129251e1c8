#include "hlp_check.h"

#include <algorithm>
#include <stdexcept>

namespace helpgen {

namespace {

// A stretch of bytes that no read may leave: the file, an internal file, a
// B+ tree page, a topic link or one of its parts. Offsets count from its
// start; a read that would run past its end throws, naming the stretch.
class Span {
public:
    Span(const Bytes& bytes, std::string name) : Span(bytes, 0, bytes.size(), std::move(name)) {}

    std::size_t size() const { return size_; }
    const std::string& name() const { return name_; }
    bool holds(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }

    void need(std::size_t at, std::size_t count) const {
        if (!holds(at, count)) throw std::runtime_error(name_ + " is cut short");
    }

    Span part(std::size_t at, std::size_t count, std::string name) const {
        need(at, count);
        return Span(*bytes_, begin_ + at, count, std::move(name));
    }
    Span from(std::size_t at, std::string name) const {
        need(at, 0);
        return part(at, size_ - at, std::move(name));
    }

    std::uint8_t byte(std::size_t at) const {
        need(at, 1);
        return (*bytes_)[begin_ + at];
    }
    std::uint16_t word(std::size_t at) const {
        need(at, 2);
        return getWord(*bytes_, begin_ + at);
    }
    std::uint32_t dword(std::size_t at) const {
        need(at, 4);
        return getLong(*bytes_, begin_ + at);
    }
    Bytes copy() const { return Bytes(iterator(0), iterator(size_)); }
    std::string text() const { return std::string(iterator(0), iterator(size_)); }
    // The zero-terminated string at `at`, whose end must lie in the stretch.
    std::string string(std::size_t at) const {
        need(at, 0);
        auto end = std::find(iterator(at), iterator(size_), 0);
        if (end == iterator(size_)) throw std::runtime_error("a string in " + name_ + " has no end");
        return std::string(iterator(at), end);
    }

private:
    Span(const Bytes& bytes, std::size_t begin, std::size_t size, std::string name)
        : bytes_(&bytes), begin_(begin), size_(size), name_(std::move(name)) {}

    Bytes::const_iterator iterator(std::size_t at) const {
        return bytes_->begin() + static_cast<std::ptrdiff_t>(begin_ + at);
    }

    const Bytes* bytes_;
    std::size_t begin_, size_;
    std::string name_;
};

// Reads the compressed numbers of a paragraph's formatting in turn.
struct Reader {
    Span span;
    std::size_t at = 0;
    bool done() const { return at >= span.size(); }
    void skip(std::size_t count) {
        span.need(at, count);
        at += count;
    }
    std::uint8_t byte() { return span.byte(at++); }
    std::uint16_t word() { std::uint16_t v = span.word(at); at += 2; return v; }
    std::uint32_t dword() { std::uint32_t v = span.dword(at); at += 4; return v; }
    unsigned compressedUnsignedShort() {
        if (span.byte(at) & 1) return word() / 2u;
        return byte() / 2u;
    }
    int compressedSignedShort() {
        if (span.byte(at) & 1) return static_cast<int>(word() / 2u) - 16384;
        return static_cast<int>(byte() / 2u) - 64;
    }
    std::int64_t compressedSignedLong() {
        if (span.byte(at) & 1) return static_cast<std::int64_t>(dword() / 2u) - (1 << 30);
        return static_cast<std::int64_t>(word() / 2u) - 16384;
    }
};

// The content of the internal file whose header is at `at`: its header (bytes
// reserved, bytes used, flags) must lie in the file, and the bytes used in
// what is reserved and in the file.
Span internalFile(const Span& file, std::size_t at, const std::string& name) {
    if (!file.holds(at, 9)) throw std::runtime_error("the header of " + name + " runs past the end of the file");
    std::uint64_t reserved = file.dword(at), used = file.dword(at + 4);
    if (reserved < used + 9 || !file.holds(at + 9, used)) throw std::runtime_error(name + " does not fit in the file");
    return file.part(at + 9, used, name);
}

// The leaf page of a one-level B+ tree from its first entry on, and how many
// entries it holds.
struct Leaf {
    Span entries;
    std::uint16_t count;
};

Leaf leaf(const Span& tree) {
    if (tree.word(0) != 0x293B) throw std::runtime_error("bad B+ tree magic");
    std::uint16_t pageSize = tree.word(4);
    if (tree.word(32) != 1) throw std::runtime_error("B+ tree of more than one level");
    std::string name = "the page of " + tree.name();
    Span page = tree.part(38 + static_cast<std::size_t>(tree.word(26)) * pageSize, pageSize, name);
    return Leaf{page.from(8, name), page.word(2)};
}

}  // namespace

HlpContents readHlp(const Bytes& bytes) {
    Span file(bytes, "the file");
    if (bytes.size() < 16 || file.dword(0) != 0x00035F3F) throw std::runtime_error("not a Windows Help file");
    if (file.dword(12) != bytes.size()) throw std::runtime_error("the header's file size is wrong");

    // The directory: name -> content of the internal file.
    std::map<std::string, Span> files;
    Leaf directory = leaf(internalFile(file, file.dword(4), "the directory"));
    std::size_t at = 0;
    std::string previousName;
    for (unsigned i = 0; i < directory.count; ++i) {
        std::string name = directory.entries.string(at);
        if (name <= previousName) throw std::runtime_error("directory not in name order");
        previousName = name;
        at += name.size() + 1;
        files.emplace(name, internalFile(file, directory.entries.dword(at), name));
        at += 4;
    }
    for (const char* required : {"|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT"}) {
        if (!files.count(required)) throw std::runtime_error(std::string("no ") + required);
    }

    HlpContents contents;
    const Span& system = files.at("|SYSTEM");
    if (system.word(0) != 0x036C || system.word(4) != 1 || system.word(2) <= 16)
        throw std::runtime_error("|SYSTEM is not of the 3.1 format");
    if (system.word(10) != 4) throw std::runtime_error("topic blocks are not LZ77 of 4 KB");
    for (std::size_t r = 12; r < system.size();) {
        std::uint16_t type = system.word(r), size = system.word(r + 2);
        Span record = system.part(r + 4, size, "|SYSTEM record " + std::to_string(type));
        if (type == 1) contents.title = record.string(0);
        r += 4 + size;
    }

    // Topic blocks, expanded, and the chain of links through them.
    const Span& topic = files.at("|TOPIC");
    std::vector<Bytes> blocks;
    for (std::size_t b = 0; b * 4096 < topic.size(); ++b) {
        Span block = topic.part(b * 4096, std::min<std::size_t>(4096, topic.size() - b * 4096), "a topic block");
        blocks.push_back(expandLz77(block.from(12, "a topic block").copy()));
        if (blocks.back().size() > 0x4000 - 12) throw std::runtime_error("a topic block expands past 16 KB");
    }
    std::map<std::uint32_t, std::string> titleAtOffset;
    std::uint32_t position = 12, characters = 0;
    std::size_t lastBlock = 0, links = 0;
    while (position != 0xFFFFFFFF) {
        if (++links > 100000) throw std::runtime_error("the chain of links does not end");
        std::size_t block = (position - 12) / 0x4000, offset = (position - 12) % 0x4000;
        if (block >= blocks.size()) throw std::runtime_error("a link points past the last block");
        if (block != lastBlock) characters = 0;
        lastBlock = block;
        Span data(blocks[block], "a topic block");
        std::uint32_t size = data.dword(offset), length2 = data.dword(offset + 4);
        std::uint32_t next = data.dword(offset + 12), length1 = data.dword(offset + 16);
        if (length1 < 21 || length1 > size || size - length1 != length2 || !data.holds(offset, size))
            throw std::runtime_error("a link's sizes do not agree");
        Span link = data.part(offset, size, "a topic link");
        std::uint8_t type = link.byte(20);
        if (type == 0x02) {
            std::string title = link.from(length1, "a topic's title").text();
            contents.topicTitles.push_back(title);
            contents.topicTexts.emplace_back();
            titleAtOffset[static_cast<std::uint32_t>(block * 0x8000 + characters)] = title;
        } else if (type == 0x20) {
            if (contents.topicTitles.empty()) throw std::runtime_error("a paragraph before the first topic");
            Reader r{link.part(21, length1 - 21, "a paragraph's formatting")};
            r.compressedSignedLong();
            characters += r.compressedUnsignedShort();
            r.skip(4);
            std::uint16_t bits = r.word();
            if (bits & 0x0001) r.compressedSignedLong();
            for (std::uint16_t flag : {0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040}) {
                if (bits & flag) r.compressedSignedShort();
            }
            if (bits & 0x0100) r.skip(3);
            if (bits & 0x0200) {
                int tabs = r.compressedSignedShort();
                for (int t = 0; t < tabs; ++t) {
                    if (r.compressedUnsignedShort() & 0x4000) r.compressedUnsignedShort();
                }
            }
            Span strings = link.from(length1, "a paragraph's text");
            std::size_t text = 0;
            std::string& out = contents.topicTexts.back();
            for (;;) {
                if (text >= strings.size()) throw std::runtime_error("a paragraph's strings end before its commands");
                std::string piece = strings.string(text);
                out += piece;
                text += piece.size() + 1;
                if (r.done()) throw std::runtime_error("a paragraph's commands have no end mark");
                std::uint8_t command = r.byte();
                if (command == 0xFF) break;
                switch (command) {
                    case 0x80: r.word(); break;
                    case 0x81: out += '\n'; break;
                    case 0x82: out += '\n'; break;
                    case 0x83: out += '\t'; break;
                    case 0x89: break;
                    case 0xE3: r.dword(); break;
                    default: throw std::runtime_error("unknown formatting command");
                }
            }
            if (!r.done()) throw std::runtime_error("bytes after a paragraph's end mark");
        } else {
            throw std::runtime_error("unknown link record type");
        }
        position = next;
    }

    auto titleOf = [&](std::uint32_t offset) {
        auto found = titleAtOffset.find(offset);
        if (found == titleAtOffset.end()) throw std::runtime_error("an offset that starts no topic");
        return found->second;
    };
    Leaf context = leaf(files.at("|CONTEXT"));
    std::int64_t previousHash = INT64_MIN;
    for (unsigned i = 0; i < context.count; ++i) {
        std::int32_t hash = static_cast<std::int32_t>(context.entries.dword(i * 8));
        if (hash <= previousHash) throw std::runtime_error("|CONTEXT not in hash order");
        previousHash = hash;
        contents.hashTitles[static_cast<std::uint32_t>(hash)] = titleOf(context.entries.dword(i * 8 + 4));
    }
    auto map = files.find("|CTXOMAP");
    if (map != files.end()) {
        const Span& entries = map->second;
        for (unsigned i = 0, count = entries.word(0); i < count; ++i)
            contents.contextTitles[entries.dword(2 + i * 8)] = titleOf(entries.dword(6 + i * 8));
    }
    return contents;
}

}  // namespace helpgen
