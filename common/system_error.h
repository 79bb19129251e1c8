// The system's text for a Windows error code, made once where a failure is shown
// or logged.
#pragma once

#include <cstdint>
#include <string>

namespace kzo {

// FormatMessageA from the system table, neutral language with the default
// sublanguage; trailing line breaks and blanks removed. An unknown code gives
// "Error N".
std::string systemErrorText(std::uint32_t code);

// GetLastError, or fallback when it is 0: a call that failed (or moved fewer
// bytes than asked) without telling why must still not read as success.
std::uint32_t lastErrorOr(std::uint32_t fallback);

}  // namespace kzo
