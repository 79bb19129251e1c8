#include "hlp_format.h"

#include <stdexcept>

namespace helpgen {

void putWord(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putLong(Bytes& out, std::uint32_t value) {
    putWord(out, static_cast<std::uint16_t>(value));
    putWord(out, static_cast<std::uint16_t>(value >> 16));
}

void putString(Bytes& out, const std::string& text, bool terminate) {
    out.insert(out.end(), text.begin(), text.end());
    if (terminate) out.push_back(0);
}

std::uint16_t getWord(const Bytes& in, std::size_t at) {
    if (at + 2 > in.size()) throw std::runtime_error("read past the end");
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

std::uint32_t getLong(const Bytes& in, std::size_t at) {
    return getWord(in, at) | (static_cast<std::uint32_t>(getWord(in, at + 2)) << 16);
}

void putCompressedUnsignedShort(Bytes& out, unsigned value) {
    if (value < 128) {
        out.push_back(static_cast<std::uint8_t>(value * 2));
    } else if (value < 32768) {
        putWord(out, static_cast<std::uint16_t>(value * 2 + 1));
    } else {
        throw std::runtime_error("compressed unsigned short out of range");
    }
}

void putCompressedSignedShort(Bytes& out, int value) {
    if (value >= -64 && value < 64) {
        out.push_back(static_cast<std::uint8_t>((value + 64) * 2));
    } else if (value >= -16384 && value < 16384) {
        putWord(out, static_cast<std::uint16_t>((value + 16384) * 2 + 1));
    } else {
        throw std::runtime_error("compressed signed short out of range");
    }
}

void putCompressedSignedLong(Bytes& out, std::int32_t value) {
    if (value >= -16384 && value < 16384) {
        putWord(out, static_cast<std::uint16_t>((value + 16384) * 2));
    } else if (value >= -(1 << 30) && value < (1 << 30)) {
        putLong(out, static_cast<std::uint32_t>((static_cast<std::int64_t>(value) + (1 << 30)) * 2 + 1));
    } else {
        throw std::runtime_error("compressed signed long out of range");
    }
}

Bytes compressLz77(const Bytes& data) {
    constexpr std::size_t kWindow = 4096, kMinMatch = 3, kMaxMatch = 18, kChain = 256;
    // Hash chains over three-byte prefixes.
    std::vector<int> head(1 << 14, -1), previous(data.size(), -1);
    auto hashAt = [&](std::size_t i) {
        return ((data[i] << 6) ^ (data[i + 1] << 3) ^ data[i + 2]) & ((1 << 14) - 1);
    };
    Bytes out;
    std::size_t flagAt = 0;
    int items = 8;
    auto item = [&](bool reference) {
        if (items == 8) {
            flagAt = out.size();
            out.push_back(0);
            items = 0;
        }
        if (reference) out[flagAt] = static_cast<std::uint8_t>(out[flagAt] | (1 << items));
        ++items;
    };
    auto insert = [&](std::size_t i) {
        if (i + kMinMatch > data.size()) return;
        int h = hashAt(i);
        previous[i] = head[h];
        head[h] = static_cast<int>(i);
    };
    for (std::size_t i = 0; i < data.size();) {
        std::size_t bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= data.size()) {
            int candidate = head[hashAt(i)];
            for (std::size_t steps = 0; candidate >= 0 && steps < kChain; ++steps) {
                std::size_t distance = i - static_cast<std::size_t>(candidate);
                if (distance > kWindow) break;
                std::size_t length = 0;
                while (length < kMaxMatch && i + length < data.size() && data[candidate + length] == data[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                }
                candidate = previous[candidate];
            }
        }
        if (bestLength >= kMinMatch) {
            item(true);
            putWord(out, static_cast<std::uint16_t>(((bestLength - kMinMatch) << 12) | (bestDistance - 1)));
            for (std::size_t k = 0; k < bestLength; ++k) insert(i + k);
            i += bestLength;
        } else {
            item(false);
            out.push_back(data[i]);
            insert(i);
            ++i;
        }
    }
    return out;
}

Bytes expandLz77(const Bytes& data) {
    Bytes out;
    for (std::size_t i = 0; i < data.size();) {
        std::uint8_t flags = data[i++];
        for (int bit = 0; bit < 8 && i < data.size(); ++bit) {
            if (flags & (1 << bit)) {
                if (i + 2 > data.size()) throw std::runtime_error("LZ77 data cut inside a reference");
                std::uint16_t code = getWord(data, i);
                i += 2;
                std::size_t length = (code >> 12) + 3, distance = (code & 0xFFF) + 1;
                if (distance > out.size()) throw std::runtime_error("LZ77 reference before the start");
                for (std::size_t k = 0; k < length; ++k) out.push_back(out[out.size() - distance]);
            } else {
                out.push_back(data[i++]);
            }
        }
    }
    return out;
}

std::uint32_t contextHash(const std::string& name) {
    std::uint32_t hash = 0;
    for (char c : name) {
        std::uint32_t value = 0;
        if (c >= 'A' && c <= 'Z') value = static_cast<std::uint32_t>(c - 'A' + 17);
        else if (c >= 'a' && c <= 'z') value = static_cast<std::uint32_t>(c - 'a' + 17);
        else if (c >= '1' && c <= '9') value = static_cast<std::uint32_t>(c - '0');
        else if (c == '0') value = 10;
        else if (c == '.') value = 12;
        else if (c == '_') value = 13;
        else throw std::runtime_error("context name \"" + name + "\" holds a character Windows Help cannot hash");
        hash = hash * 43 + value;
    }
    return hash;
}

}  // namespace helpgen
