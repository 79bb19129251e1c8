// The texts of the service's prompts and reports: a format of its string table
// filled with one or two texts, at most 1023 characters.
#pragma once

#include <cstddef>
#include <string>

namespace kzo {

constexpr std::size_t kReportTextLength = 1023;

// The format's "%s" placeholders filled in order with first and second (a
// format with one placeholder leaves second unused); cut at 1023 characters.
std::string reportText(const std::string& format, const std::string& first,
                       const std::string& second = std::string());

}  // namespace kzo
