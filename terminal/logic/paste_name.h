// The name a pasted task gets: the copied task's name followed by " (n)" with
// the first n that no task of the schedule has. Pure: no windows.h.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "text_units.h"

namespace kzo {

// The name field holds at most this many characters.
constexpr std::size_t kMaxTaskName = 64;

// bufferedName is the copied record's name text (fieldText of its name field).
// It is trimmed of blanks; a name longer than 59 characters is cut to its first
// 56 followed by "...". The result is that base followed by " (n)" for the
// first n = 1, 2, ... for which nameExists is false, built literally ("%" and
// the like stay as they are). When base and " (n)" would not fit 64
// characters, the base is cut further (its start followed by "...") so that the
// whole name always fits; it stays unique because every candidate is asked
// about. A base that is empty gives "(n)". Cuts never split a double-byte
// character of isLeadByte's code page (nullptr: single-byte text).
// nameExists is asked with the exact (trimmed) candidate. Empty only when
// every n up to the largest int is taken.
std::string pasteName(std::string_view bufferedName,
                      const std::function<bool(const std::string&)>& nameExists,
                      LeadByteTest isLeadByte = nullptr);

}  // namespace kzo
