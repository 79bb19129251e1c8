// The system's code page in the native fuzz build: the Terminal's rules ask
// systemLeadByte (IsDBCSLeadByte on Windows), which here answers for the code
// page a harness chose for its input.
#pragma once

namespace kzo::fuzz {

// Single-byte (the Western code pages) or double-byte (Shift-JIS's lead
// bytes 0x81-0x9F and 0xE0-0xFC).
void useDoubleByteCodePage(bool doubleByte);

// The chosen code page's lead-byte test, also as a LeadByteTest.
bool leadByte(unsigned char c);

}  // namespace kzo::fuzz
