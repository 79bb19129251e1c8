// Texts of a program's string table, by number.
#pragma once

#include <string>

namespace kzo {

// The string with this number from the running program's string table, loaded
// with a limit of maxLength characters; the fallback when there is none.
std::string loadString(unsigned id, const std::string& fallback = std::string(),
                       int maxLength = 1023);

}  // namespace kzo
