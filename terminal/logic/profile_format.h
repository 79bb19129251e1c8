// The task profiles file, "kzo.pro": plain ANSI text of four-line groups (name,
// command, type code, comment), each line ended by CR LF, no header. Reading and
// writing its text, and the small rules around profiles. Pure: no windows.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text_units.h"

namespace kzo {

constexpr std::size_t kProfileFieldWidth = 511;

constexpr int kMsgNoProfileNameOrCommand = 7676;  // "Profile name or Command was not specified.\t\t"

struct Profile {
    std::string name;
    std::string command;
    std::string type;  // the type code as the file holds it ("APP", "DOC", "MSG", "SDN")
    std::string comment;
    int32_t inUse = 0;
};

// The profiles of the file's text, marked in use: lines end at CR (LF and NUL
// bytes read as blanks, so CR LF ends a line), or at LF in a text without any
// CR; a last line that lacks only its line end still counts. Every four lines
// are a profile, each field trimmed of blanks and cut to 511 characters (never
// inside a double-byte character of isLeadByte); a trailing incomplete group is
// dropped.
std::vector<Profile> parseProfiles(std::string_view text, LeadByteTest isLeadByte = nullptr);

// The file's text: the profiles in use, in order, four lines each ended by
// CR LF. A CR or LF inside a field is written as a blank (it would split the
// group); an empty field is an empty line.
std::string formatProfiles(const std::vector<Profile>& profiles);

// The type index of a code, upper-cased and trimmed: APP 0, DOC 1, MSG 2, SDN 3,
// anything else 0. And the code of an index (APP outside 0..3).
int profileTypeIndex(std::string_view code);
std::string profileTypeCode(int index);

// The comment as the picker hands it to the Command page: every "|" becomes a CR.
std::string pickedComment(std::string_view comment);

// The profile dialog's OK: the trimmed texts; an empty name or command gives
// kMsgNoProfileNameOrCommand.
struct ProfileEntry {
    int messageId = 0;
    std::string name;
    std::string command;
    std::string comment;
};
ProfileEntry checkProfileEntry(std::string_view name, std::string_view command, std::string_view comment);

}  // namespace kzo
