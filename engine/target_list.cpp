#include "target_list.h"

#include "blanks.h"

namespace kzo {

std::vector<std::string> splitTargetList(std::string_view list) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = list.find(',', start);
        std::string entry = trimBlanks(list.substr(start, comma == std::string_view::npos
                                                              ? std::string_view::npos
                                                              : comma - start));
        if (!entry.empty()) entries.push_back(std::move(entry));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return entries;
}

}  // namespace kzo
