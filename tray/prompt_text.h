// The wrapping of a prompt's text for the prompt dialogs.
#pragma once

#include <cstddef>

#include "text_units.h"

namespace kzo {

// The dialogs' text buffer: at most 599 characters and the terminating zero.
constexpr std::size_t kPromptTextSize = 600;
// Characters without a blank or line break after which a break is inserted.
constexpr int kPromptWrapWidth = 50;

// Copies text into out (outSize bytes, always terminated when outSize > 0) and
// returns the length written.
//
// Wrapping: a blank (' ') or a line break ('\n', '\r' or the pair "\r\n") resets
// the count of characters; every other character adds to it, and when it
// reaches kPromptWrapWidth a '\n' is inserted after that character and the count
// starts again. So a 120-character word shows as lines of 50, 50 and 20.
//
// Units that are never split, neither by an inserted break nor by the cut: the
// pair "\r\n", and a double-byte character (lead byte and its trail byte, when
// isLeadByte is given). A double-byte character counts as two, as wide as two
// single-byte ones.
//
// Cut: when the wrapped text is longer than outSize - 1, it keeps the whole units
// that fit with "..." after them, so that the reader sees the text goes on
// (without the marker when outSize is below 4). A null text copies as empty.
std::size_t wrapPromptText(const char* text, char* out, std::size_t outSize,
                           LeadByteTest isLeadByte = nullptr);

}  // namespace kzo
