// Pieces of the Windows Help (.hlp) file format shared by the writer and the
// checker: little-endian numbers, the compressed numbers of paragraph records,
// LZ77 blocks and the hash of context names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace helpgen {

using Bytes = std::vector<std::uint8_t>;

void putWord(Bytes& out, std::uint16_t value);
void putLong(Bytes& out, std::uint32_t value);
void putString(Bytes& out, const std::string& text, bool terminate = true);
std::uint16_t getWord(const Bytes& in, std::size_t at);
std::uint32_t getLong(const Bytes& in, std::size_t at);

// The compressed numbers of paragraph records: one byte for small values, two
// (or, for longs, four) with the lowest bit set for larger ones.
void putCompressedUnsignedShort(Bytes& out, unsigned value);     // 0..32767
void putCompressedSignedShort(Bytes& out, int value);            // -16384..16383
void putCompressedSignedLong(Bytes& out, std::int32_t value);    // -2^30..2^30-1

// LZ77 as the help viewer expands it: a flag byte for every eight items, a set
// bit for a two-byte back reference (12 bits distance - 1, 4 bits length - 3),
// a clear bit for a literal byte.
Bytes compressLz77(const Bytes& data);
Bytes expandLz77(const Bytes& data);

// The hash of a context name under which |CONTEXT files it.
std::uint32_t contextHash(const std::string& name);

}  // namespace helpgen
