#include "system_error.h"

#include <windows.h>

namespace kzo {

std::string systemErrorText(std::uint32_t code) {
    char buffer[1024];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                             sizeof buffer, nullptr);
    if (n == 0) return "Error " + std::to_string(code);
    std::string text(buffer, n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::uint32_t lastErrorOr(std::uint32_t fallback) {
    DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

}  // namespace kzo
