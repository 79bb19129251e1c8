#include "code_page.h"

#include <windows.h>

#include <climits>

namespace kzo {

std::wstring ansiToWide(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return std::wstring();
    int length = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    int written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

std::string wideToAnsi(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return std::string();
    int length = static_cast<int>(text.size());
    int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string();
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    int written = WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), needed,
                                      nullptr, nullptr);
    ansi.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return ansi;
}

}  // namespace kzo
