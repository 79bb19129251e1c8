// Resource ids of the System Executor (tickrnt.rc). Only #defines: the resource
// compiler reads this file too.
#pragma once

// Strings: the service's own wording where the executors differ.
#define IDS_OPEN_FAILED          7505  // schedule file: open failed
#define IDS_READ_FAILED          7506  // schedule file: read error
#define IDS_BAD_SIZE             7507  // schedule file: size not a multiple of a record
#define IDS_ERROR_CAPTION        7509
#define IDS_NO_LOOP_THREAD       7513
#define IDS_PROMPT               7515  // the Warn prompt
#define IDS_LAUNCH_ERROR         7516  // a launch that failed
#define IDS_NO_SYSTEM_SCHEDULE   7518

// Formats are loaded with this limit.
#define FORMAT_LENGTH            128
