// Command macros: "%KZO.YEAR%" and its kind in a task's text fields, replaced by
// the launch time's values at launch, in a private copy of the record.
#pragma once

#include "launch_time.h"

namespace kzo {

// Expands the macros in text in place (at most 1023 characters are examined;
// the text never grows) and returns it. No allocation; safe on any input.
char* expandMacros(char* text, const LaunchTime& time);

}  // namespace kzo
