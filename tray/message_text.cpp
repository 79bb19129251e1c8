#include "message_text.h"

namespace kzo {

namespace {

std::size_t unitLength(std::string_view text, std::size_t at, LeadByteTest isLeadByte) {
    if (at + 1 >= text.size()) return 1;
    if (text[at] == '\r' && text[at + 1] == '\n') return 2;
    if (isLeadByte && isLeadByte(static_cast<unsigned char>(text[at]))) return 2;
    return 1;
}

}  // namespace

std::string fillMessage(std::string_view format, std::initializer_list<std::string_view> values,
                        std::size_t maxLength, LeadByteTest isLeadByte) {
    std::string filled;
    const std::string_view* value = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            if (value != values.end()) filled += *value++;
            ++i;
        } else if (c == '%' && i + 1 < format.size() && format[i + 1] == '%') {
            filled += '%';
            ++i;
        } else {
            filled += c;
        }
    }
    if (filled.size() <= maxLength) return filled;
    std::size_t end = 0;
    while (end < filled.size()) {
        std::size_t next = end + unitLength(filled, end, isLeadByte);
        if (next > maxLength) break;
        end = next;
    }
    filled.resize(end);
    return filled;
}

}  // namespace kzo
