// Writes a Windows Help file (the 3.1 format that WinHelp 3.1 and 4.0 read,
// LZ77-compressed topic blocks of 4 KB) and its contents file (.cnt) from the
// help's topics.
#pragma once

#include <string>

#include "help_source.h"
#include "hlp_format.h"

namespace helpgen {

Bytes writeHlp(const HelpProject& help);

// The contents file: ":Base", ":Title", then one line per entry ("2 Title=Context"
// for a topic, "1 Title" for a book).
std::string writeCnt(const HelpProject& help, const std::string& hlpName);

}  // namespace helpgen
