#include "blanks.h"

#include <cstring>

namespace kzo {

std::string trimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    return std::string(text.substr(begin, end - begin));
}

void trimBlanksInPlace(char* text) {
    std::size_t length = std::strlen(text);
    std::size_t begin = 0;
    while (begin < length && text[begin] == ' ') ++begin;
    while (length > begin && text[length - 1] == ' ') --length;
    std::memmove(text, text + begin, length - begin);
    text[length - begin] = '\0';
}

}  // namespace kzo
