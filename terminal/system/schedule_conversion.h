// The conversion of a schedule file of old records into a file of task records,
// without any window: the Convert dialog hands over the two names and shows the
// message the result names.
//
// The converted records go into a temporary file beside the target, which
// replaces the target only when every record is written: a conversion that
// fails (a read error, a full disk, a target in use) leaves the old target as
// it was. A source that is the target itself is converted the same way, so an
// old schedule can be converted in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "old_schedule_formats.h"

namespace kzo {

// The Convert dialog's messages (string numbers). Those with "%s" take the
// system's text of the result's systemError.
constexpr unsigned kConvertNoNames = 7608;        // a name is empty
constexpr unsigned kConvertSourceOpen = 7609;     // %s
constexpr unsigned kConvertTargetOpen = 7610;     // %s
constexpr unsigned kConvertSourceEmpty = 7611;
constexpr unsigned kConvertSourceInvalid = 7612;  // no old layout has its size
constexpr unsigned kConvertOverwrite = 7613;      // the question of confirmOverwrite
constexpr unsigned kConvertTargetWrite = 7614;    // %s
constexpr unsigned kConvertSourceRead = 7615;     // %s

enum class ConversionStatus {
    Converted,  // the target holds the converted records
    Declined,   // the user did not want the target overwritten; nothing changed
    Failed,     // message (and systemError) tell why; the target is unchanged
};

struct ConversionResult {
    ConversionStatus status = ConversionStatus::Failed;
    unsigned message = 0;            // one of the numbers above when Failed
    std::uint32_t systemError = 0;   // for the messages with "%s"
    OldLayout layout = OldLayout::None;
    std::size_t records = 0;         // records written when Converted
    std::string target;              // the target name as used (trimmed)
};

// Converts source into target (names as typed, trimmed of blanks here):
// clears both files' read-only, hidden and system attributes, opens the source
// exclusively (7609 when it cannot be opened, e.g. while a scheduler holds it),
// checks that the target can be opened exclusively when it exists (7610),
// refuses an empty source (7611) or one whose size no old layout divides
// (7612), asks confirmOverwrite when the target is not empty (false: Declined),
// writes the records into a temporary file in the target's folder (7610 when
// it cannot be created, 7615 on a failed or short read, 7614 on a failed
// write) and moves it over the target (7614 when that fails).
ConversionResult convertScheduleFile(const std::string& source, const std::string& target,
                                     const std::function<bool()>& confirmOverwrite);

}  // namespace kzo
