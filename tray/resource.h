// Resource ids of the Executor (tickr.rc). Only #defines: the resource compiler
// reads this file too.
#pragma once

// Icons
#define IDI_DIALOG          2    // shown in the prompt dialogs
#define IDI_TRAY_ACTIVE     3    // tray icon while the scheduler is active
#define IDI_TRAY_INACTIVE   4    // tray icon while it is inactive

// Prompt dialogs: the TopMost variant of each is its id + 2.
#define IDD_MESSAGE         201
#define IDD_WARNING         202
#define IDD_MESSAGE_TOPMOST 203
#define IDD_WARNING_TOPMOST 204

// Controls of the prompt dialogs. Buttons: IDOK (OK, Yes) and IDCANCEL (No).
#define IDC_MESSAGE_TEXT    301
#define IDC_WARNING_TEXT    302
#define IDC_MESSAGE_ICON    701
#define IDC_WARNING_ICON    702
#define IDC_HEADING         801  // "Message" / "Warning", in bold
#define IDC_MARGIN          802  // the white margin left of the text

// Commands of the tray menu.
#define IDM_OPEN_TERMINAL   32869
#define IDM_ACTIVE          32870
#define IDM_EXIT            32871
#define IDM_ABOUT           32873
#define IDM_HELP            32874

// The string table.
#define IDS_OPEN_TERMINAL       7501  // menu texts
#define IDS_ACTIVE              7502
#define IDS_ABOUT               7503
#define IDS_EXIT                7504
#define IDS_SCHEDULE_OPEN       7505  // schedule file reports of a pass
#define IDS_SCHEDULE_READ       7506
#define IDS_SCHEDULE_SIZE       7507
#define IDS_TERMINAL_FAILED     7508
#define IDS_ERROR_CAPTION       7509
#define IDS_USER_RUNNING        7511  // start-up
#define IDS_NO_USER_SCHEDULE    7512
#define IDS_NO_LOOP_THREAD      7513
#define IDS_EXCEPTION           7514
#define IDS_LAUNCH_PROMPT       7515  // launches
#define IDS_LAUNCH_ERROR        7516
#define IDS_SYSTEM_RUNNING      7517  // start-up
#define IDS_NO_SYSTEM_SCHEDULE  7518
#define IDS_HELP                7519  // menu text
#define IDS_HELP_FAILED         7520
