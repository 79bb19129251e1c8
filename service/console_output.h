// The program's console messages, written to standard output byte for byte
// (no line-end translation).
#pragma once

#include <cstdint>
#include <string>

namespace kzo {

// Switches standard output to binary mode: "\n" stays one byte.
void useBinaryStdout();
void printConsole(const std::string& text);
// A console message of the form "<prefix>: <system text for error>\n".
void printErrorMessage(const char* prefix, std::uint32_t error);

}  // namespace kzo
