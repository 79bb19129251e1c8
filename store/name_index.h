// The first record of each name among a run of records: how a save merges the
// file into the Terminal's records, and a write-back the pass's launches into
// the file, without a search from the start for every record. Names are
// compared as every search by name compares them (nameKey); a name of blanks
// only is not indexed. Pure: no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "schedule_store.h"

namespace kzo {

class NameIndex {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Indexes records itemAt(0) .. itemAt(count - 1), which must stay where they
    // are while the index is used. The first record of a name wins, as a search
    // from the start finds it. The index's memory serves the next build.
    template <typename ItemAt>
    void build(std::size_t count, ItemAt itemAt) {
        keys_.clear();
        keys_.reserve(count);
        for (std::size_t i = 0; i < count; ++i) keys_.push_back(nameKey(itemAt(i)));
        std::size_t size = 16;
        while (size < 2 * count) size *= 2;
        slots_.assign(size, 0);
        for (std::size_t i = 0; i < count; ++i) insert(i);
    }

    // The position of the first record of this (trimmed) name, or npos.
    std::size_t find(std::string_view key) const;

private:
    static std::uint64_t hash(std::string_view key);
    void insert(std::size_t position);

    std::vector<std::string_view> keys_;
    std::vector<std::uint32_t> slots_;  // position + 1; 0 = free
};

}  // namespace kzo
