#include "message_text.h"

namespace kzo {

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
    if (filled.size() > maxLength) filled.resize(wholeUnitsWithin(filled, maxLength, isLeadByte));
    return filled;
}

std::string fillNumber(std::string_view format, long long value) {
    std::string filled;
    bool done = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (c == '%' && !done && (next == 'd' || next == 'u')) {
            filled += std::to_string(value);
            done = true;
            ++i;
        } else if (c == '%' && next == '%') {
            filled += '%';
            ++i;
        } else {
            filled += c;
        }
    }
    return filled;
}

}  // namespace kzo
