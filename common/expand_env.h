// Environment expansion of user-entered paths and commands (%NAME%), done just
// before use into a fixed buffer of 2599 characters.
#pragma once

#include <cstddef>

namespace kzo {

constexpr std::size_t kExpandedSize = 2599;

// Expands text into out (kExpandedSize bytes). When the expansion fails or does
// not fit, out receives the text unchanged (cut to fit). Unknown variables stay
// as written. Always NUL-terminates.
void expandEnvironment(const char* text, char* out);

}  // namespace kzo
