#include "hyperlink_text.h"

#include <cstring>

namespace kzo {

std::string internetShortcutFileName(const std::string& labelText) {
    constexpr std::size_t kMaxStem = 200;
    std::string stem;
    for (char c : labelText) {
        const unsigned char u = static_cast<unsigned char>(c);
        stem += (u < 0x20 || std::strchr("\\/:*?\"<>|", c)) ? '_' : c;
    }
    std::size_t first = stem.find_first_not_of(' ');
    stem = first == std::string::npos ? std::string() : stem.substr(first);
    if (stem.size() > kMaxStem) stem.resize(kMaxStem);
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.')) stem.pop_back();
    if (stem.empty()) stem = "Link";
    return stem + ".URL";
}

std::string internetShortcutContents(const std::string& address) {
    std::string url;
    for (char c : address)
        if (c != '\r' && c != '\n') url += c;
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

}  // namespace kzo
