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
