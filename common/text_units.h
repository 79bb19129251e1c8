// The units a text is never cut inside: the pair "\r\n" of a line break, and a
// double-byte character (a lead byte and its trail byte) of the system's code
// page. Pure, apart from systemLeadByte.
#pragma once

#include <cstddef>
#include <string_view>

namespace kzo {

// True for a lead byte of a double-byte character in the text's code page.
using LeadByteTest = bool (*)(unsigned char);

// IsDBCSLeadByte of the system's ANSI code page.
bool systemLeadByte(unsigned char c);

// Length (1 or 2) of the unit that starts at the index.
std::size_t textUnitLength(std::string_view text, std::size_t at, LeadByteTest isLeadByte);

// Length of the longest start of text made of whole units and not longer than
// limit.
std::size_t wholeUnitsWithin(std::string_view text, std::size_t limit, LeadByteTest isLeadByte);

}  // namespace kzo
