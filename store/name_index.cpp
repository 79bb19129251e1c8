#include "name_index.h"

namespace kzo {

std::uint64_t NameIndex::hash(std::string_view key) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : key) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

void NameIndex::insert(std::size_t position) {
    std::string_view key = keys_[position];
    if (key.empty()) return;
    std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash(key) & mask;; slot = (slot + 1) & mask) {
        if (slots_[slot] == 0) {
            slots_[slot] = static_cast<std::uint32_t>(position + 1);
            return;
        }
        if (keys_[slots_[slot] - 1] == key) return;  // an earlier record has the name
    }
}

std::size_t NameIndex::find(std::string_view key) const {
    if (key.empty() || slots_.empty()) return npos;
    std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash(key) & mask; slots_[slot] != 0; slot = (slot + 1) & mask)
        if (keys_[slots_[slot] - 1] == key) return slots_[slot] - 1;
    return npos;
}

}  // namespace kzo
