// Reads a Windows Help file back the way the help viewer does (internal
// directory, |SYSTEM, the LZ77 topic blocks and their chain of links, the
// paragraph records, |CONTEXT and |CTXOMAP) and reports what it finds, so that
// a file that the viewer would refuse is caught at build time.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hlp_format.h"

namespace helpgen {

struct HlpContents {
    std::string title;                                  // |SYSTEM record 1
    std::vector<std::string> topicTitles;               // in file order
    std::vector<std::string> topicTexts;                // each topic's text, paragraphs on lines
    std::map<std::uint32_t, std::string> contextTitles; // |CTXOMAP number -> topic title
    std::map<std::uint32_t, std::string> hashTitles;    // |CONTEXT hash -> topic title
};

// Throws std::runtime_error naming the first inconsistency found. Every read is
// bounded by the file and by the internal file, page or record it belongs to,
// so a damaged or cut file is reported, never read past.
HlpContents readHlp(const Bytes& file);

}  // namespace helpgen
