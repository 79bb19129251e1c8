#include "string_table.h"

#include <windows.h>

#include <vector>

namespace kzo {

std::string loadString(unsigned id, const std::string& fallback, int maxLength) {
    std::vector<char> buffer(static_cast<std::size_t>(maxLength) + 1);
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), maxLength + 1);
    if (n <= 0) return fallback;
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

}  // namespace kzo
