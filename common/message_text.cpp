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

}  // namespace kzo
