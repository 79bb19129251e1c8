#include "hlp_check.h"

#include <stdexcept>

namespace helpgen {

namespace {

struct Reader {
    const Bytes& bytes;
    std::size_t at;
    std::uint8_t byte() {
        if (at >= bytes.size()) throw std::runtime_error("paragraph record cut short");
        return bytes[at++];
    }
    std::uint16_t word() { std::uint16_t v = getWord(bytes, at); at += 2; return v; }
    std::uint32_t dword() { std::uint32_t v = getLong(bytes, at); at += 4; return v; }
    unsigned compressedUnsignedShort() {
        if (bytes.at(at) & 1) return word() / 2u;
        return byte() / 2u;
    }
    int compressedSignedShort() {
        if (bytes.at(at) & 1) return static_cast<int>(word() / 2u) - 16384;
        return static_cast<int>(byte() / 2u) - 64;
    }
    std::int64_t compressedSignedLong() {
        if (bytes.at(at) & 1) return static_cast<std::int64_t>(dword() / 2u) - (1 << 30);
        return static_cast<std::int64_t>(word() / 2u) - 16384;
    }
};

// The leaf entries of a one-level B+ tree, as raw bytes from the first entry on.
struct Tree {
    std::uint16_t pageSize = 0, entries = 0;
    std::size_t firstEntry = 0;
};

Tree leaf(const Bytes& file, std::size_t at) {
    if (getWord(file, at) != 0x293B) throw std::runtime_error("bad B+ tree magic");
    Tree tree;
    tree.pageSize = getWord(file, at + 4);
    if (getWord(file, at + 32) != 1) throw std::runtime_error("B+ tree of more than one level");
    std::size_t page = at + 38 + static_cast<std::size_t>(getWord(file, at + 26)) * tree.pageSize;
    tree.entries = getWord(file, page + 2);
    tree.firstEntry = page + 8;
    return tree;
}

}  // namespace

HlpContents readHlp(const Bytes& file) {
    if (file.size() < 16 || getLong(file, 0) != 0x00035F3F) throw std::runtime_error("not a Windows Help file");
    if (getLong(file, 12) != file.size()) throw std::runtime_error("the header's file size is wrong");

    // The directory: name -> offset of the internal file's content.
    std::map<std::string, std::pair<std::size_t, std::size_t>> files;
    std::size_t directory = getLong(file, 4);
    Tree tree = leaf(file, directory + 9);
    std::size_t at = tree.firstEntry;
    std::string previousName;
    for (unsigned i = 0; i < tree.entries; ++i) {
        std::string name(reinterpret_cast<const char*>(&file.at(at)));
        if (name <= previousName) throw std::runtime_error("directory not in name order");
        previousName = name;
        at += name.size() + 1;
        std::size_t header = getLong(file, at);
        at += 4;
        std::size_t used = getLong(file, header + 4);
        if (getLong(file, header) < used + 9 || header + 9 + used > file.size())
            throw std::runtime_error("internal file " + name + " does not fit");
        files[name] = {header + 9, used};
    }
    for (const char* required : {"|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT"}) {
        if (!files.count(required)) throw std::runtime_error(std::string("no ") + required);
    }

    HlpContents contents;
    auto [system, systemSize] = files["|SYSTEM"];
    if (getWord(file, system) != 0x036C || getWord(file, system + 4) != 1 || getWord(file, system + 2) <= 16)
        throw std::runtime_error("|SYSTEM is not of the 3.1 format");
    if (getWord(file, system + 10) != 4) throw std::runtime_error("topic blocks are not LZ77 of 4 KB");
    for (std::size_t r = system + 12; r + 4 <= system + systemSize;) {
        std::uint16_t type = getWord(file, r), size = getWord(file, r + 2);
        if (type == 1) contents.title = std::string(reinterpret_cast<const char*>(&file.at(r + 4)));
        r += 4 + size;
    }

    // Topic blocks, expanded, and the chain of links through them.
    auto [topic, topicSize] = files["|TOPIC"];
    std::vector<Bytes> blocks;
    for (std::size_t b = 0; b * 4096 < topicSize; ++b) {
        std::size_t start = topic + b * 4096 + 12, end = topic + std::min<std::size_t>((b + 1) * 4096, topicSize);
        blocks.push_back(expandLz77(Bytes(file.begin() + static_cast<std::ptrdiff_t>(start),
                                          file.begin() + static_cast<std::ptrdiff_t>(end))));
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
        const Bytes& data = blocks[block];
        std::uint32_t size = getLong(data, offset), length2 = getLong(data, offset + 4);
        std::uint32_t next = getLong(data, offset + 12), length1 = getLong(data, offset + 16);
        if (offset + size > data.size() || length1 < 21 || length1 > size || size - length1 != length2)
            throw std::runtime_error("a link's sizes do not agree");
        std::uint8_t type = data.at(offset + 20);
        std::size_t data2 = offset + length1;
        if (type == 0x02) {
            std::string title(data.begin() + static_cast<std::ptrdiff_t>(data2),
                              data.begin() + static_cast<std::ptrdiff_t>(data2 + length2));
            contents.topicTitles.push_back(title);
            contents.topicTexts.emplace_back();
            titleAtOffset[static_cast<std::uint32_t>(block * 0x8000 + characters)] = title;
        } else if (type == 0x20) {
            if (contents.topicTitles.empty()) throw std::runtime_error("a paragraph before the first topic");
            Reader r{data, offset + 21};
            r.compressedSignedLong();
            characters += r.compressedUnsignedShort();
            r.at += 4;
            std::uint16_t bits = r.word();
            if (bits & 0x0001) r.compressedSignedLong();
            for (std::uint16_t flag : {0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040}) {
                if (bits & flag) r.compressedSignedShort();
            }
            if (bits & 0x0100) r.at += 3;
            if (bits & 0x0200) {
                int tabs = r.compressedSignedShort();
                for (int t = 0; t < tabs; ++t) {
                    if (r.compressedUnsignedShort() & 0x4000) r.compressedUnsignedShort();
                }
            }
            std::size_t text = data2, textEnd = data2 + length2, formatEnd = offset + length1;
            std::string& out = contents.topicTexts.back();
            for (;;) {
                if (text >= textEnd) throw std::runtime_error("a paragraph's strings end before its commands");
                std::string piece(reinterpret_cast<const char*>(&data[text]));
                out += piece;
                text += piece.size() + 1;
                if (r.at >= formatEnd) throw std::runtime_error("a paragraph's commands have no end mark");
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
            if (r.at != formatEnd) throw std::runtime_error("bytes after a paragraph's end mark");
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
    auto [context, contextSize] = files["|CONTEXT"];
    (void)contextSize;
    Tree contextTree = leaf(file, context);
    std::int64_t previousHash = INT64_MIN;
    for (unsigned i = 0; i < contextTree.entries; ++i) {
        std::size_t entry = contextTree.firstEntry + i * 8;
        std::int32_t hash = static_cast<std::int32_t>(getLong(file, entry));
        if (hash <= previousHash) throw std::runtime_error("|CONTEXT not in hash order");
        previousHash = hash;
        contents.hashTitles[static_cast<std::uint32_t>(hash)] = titleOf(getLong(file, entry + 4));
    }
    if (files.count("|CTXOMAP")) {
        std::size_t map = files["|CTXOMAP"].first;
        std::uint16_t entries = getWord(file, map);
        for (unsigned i = 0; i < entries; ++i)
            contents.contextTitles[getLong(file, map + 2 + i * 8)] = titleOf(getLong(file, map + 6 + i * 8));
    }
    return contents;
}

}  // namespace helpgen
