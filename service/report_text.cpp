#include "report_text.h"

namespace kzo {

std::string reportText(const std::string& format, const std::string& first,
                       const std::string& second) {
    // Only "%s" and "%%" are honoured: the texts are placed, never interpreted,
    // so a "%" in a file name or command stays as it is.
    const std::string* fills[] = {&first, &second};
    std::size_t nextFill = 0;
    std::string text;
    for (std::size_t i = 0; i < format.size() && text.size() < kReportTextLength; ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                if (nextFill < 2) text += *fills[nextFill++];
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                text += '%';
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    if (text.size() > kReportTextLength) text.resize(kReportTextLength);
    return text;
}

}  // namespace kzo
