#include "text_units.h"

namespace kzo {

std::size_t textUnitLength(std::string_view text, std::size_t at, LeadByteTest isLeadByte) {
    if (at + 1 >= text.size()) return 1;
    if (text[at] == '\r' && text[at + 1] == '\n') return 2;
    if (isLeadByte && isLeadByte(static_cast<unsigned char>(text[at]))) return 2;
    return 1;
}

std::size_t wholeUnitsWithin(std::string_view text, std::size_t limit, LeadByteTest isLeadByte) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + textUnitLength(text, end, isLeadByte);
        if (next > limit) break;
        end = next;
    }
    return end;
}

}  // namespace kzo
