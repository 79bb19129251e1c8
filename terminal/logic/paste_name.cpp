#include "paste_name.h"

#include <climits>

#include "blanks.h"

namespace kzo {

namespace {

// The copy's base name: names longer than this are cut to kCutBase
// characters and "...".
constexpr std::size_t kLongestBase = 59;
constexpr std::size_t kCutBase = 56;
constexpr std::string_view kEllipsis = "...";

std::string cutWithEllipsis(const std::string& name, std::size_t keep, LeadByteTest isLeadByte) {
    return name.substr(0, wholeUnitsWithin(name, keep, isLeadByte)) + std::string(kEllipsis);
}

}  // namespace

std::string pasteName(std::string_view bufferedName,
                      const std::function<bool(const std::string&)>& nameExists,
                      LeadByteTest isLeadByte) {
    const std::string name = trimBlanks(bufferedName);
    const std::string base =
        name.size() > kLongestBase ? cutWithEllipsis(name, kCutBase, isLeadByte) : name;
    for (int n = 1; n < INT_MAX; ++n) {
        const std::string suffix = " (" + std::to_string(n) + ")";
        std::string candidate;
        if (base.size() + suffix.size() <= kMaxTaskName)
            candidate = base + suffix;
        else
            candidate = cutWithEllipsis(name, kMaxTaskName - suffix.size() - kEllipsis.size(),
                                        isLeadByte) + suffix;
        if (base.empty()) candidate.erase(0, 1);
        if (!nameExists(candidate)) return candidate;
    }
    return std::string();
}

}  // namespace kzo
