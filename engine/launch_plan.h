// The pure decisions of the launchers: when a started program is asked to close
// and when it is terminated, and how a Document task's text splits into verb,
// file and folder.
#pragma once

#include <cstdint>
#include <string>

namespace kzo {

// Milliseconds after the start of the process; -1 = never.
struct KillQuitPlan {
    std::int64_t closeAtMs = -1;      // WM_CLOSE to every top-level window of the process
    std::int64_t terminateAtMs = -1;  // TerminateProcess, exit code 0
};

// killAfter and quitAfter in seconds, as stored in the task:
// neither positive: nothing; kill > 0 and quit >= kill: terminate at kill, no
// close request; otherwise close at quit when quit > 0, terminate at kill when
// kill > 0.
KillQuitPlan planKillQuit(std::int32_t killAfter, std::int32_t quitAfter);

struct DocumentStart {
    std::string verb;
    std::string file;
    std::string directory;
};

// Splits "verb|document" (both trimmed of blanks; without a bar the verb is
// "Open" and the whole text the document) and derives the directory: the
// startup folder when given, else the document up to and including its last
// '\\', '/' or ':' after its first character, else empty. The text is taken at
// most 511 characters long, as the record's field holds.
DocumentStart parseDocumentText(const char* text, const char* folder);

}  // namespace kzo
