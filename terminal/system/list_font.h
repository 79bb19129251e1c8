// The task list's font as the system takes it: the stored settings' font and
// the LOGFONTA of CreateFontIndirectA and the Font dialog, field by field.
#pragma once

#include <windows.h>

#include "terminal_settings.h"

namespace kzo {

// The face is cut to the 31 characters a LOGFONTA holds.
LOGFONTA logFontOf(const ListFont& font);
ListFont listFontOf(const LOGFONTA& logFont);

}  // namespace kzo
