// The schedulers' message texts: a format from the string table filled with
// the task's or the file's texts, bounded like the message buffers. Pure: no
// windows.h.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "text_units.h"

namespace kzo {

// The message buffers hold 1023 characters and the terminating zero.
constexpr std::size_t kMessageTextLength = 1023;

// Replaces each "%s" of format, in order, with the next value; a "%s" without
// a value left becomes empty, "%%" becomes "%", any other '%' stays as it is.
// Nothing else of the format is interpreted, so a format that does not match
// its values cannot read beyond them.
//
// The result is cut to at most maxLength bytes, never inside a double-byte
// character (when isLeadByte is given) nor between the "\r\n" of a line break.
std::string fillMessage(std::string_view format, std::initializer_list<std::string_view> values,
                        std::size_t maxLength = kMessageTextLength,
                        LeadByteTest isLeadByte = nullptr);

// A format with one number ("Profile %u", " %u profiles."): the first "%d" or
// "%u" becomes the value in decimal, "%%" becomes "%", anything else stays.
std::string fillNumber(std::string_view format, long long value);

}  // namespace kzo
