// Conversions between the system's ANSI code page (CP_ACP) and UTF-16, for the
// network functions, which take and give UTF-16 names.
#pragma once

#include <string>
#include <string_view>

namespace kzo {

// Text that does not convert comes back empty.
std::wstring ansiToWide(std::string_view text);
std::string wideToAnsi(std::wstring_view text);

}  // namespace kzo
