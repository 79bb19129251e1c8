// Resource ids of the Terminal (kzo.rc). Only #defines: the resource compiler
// reads this file too. Command ids double as the numbers of their status-bar
// prompts in the string table ("prompt\ntool tip").
#pragma once

#include "task_editing_resource.h"
#include "options_resource.h"

// Menus, accelerators, icons
#define IDR_MAINFRAME          128   // frame menu, accelerators, big icon
#define IDR_CONTEXT            169   // popups: 0 file, 1 view, 2 schedule commands
#define IDR_START_MENU         239   // popups: 0 user scheduler, 1 system scheduler
#define IDI_SMALL              601

// Toolbar images: 16x15 and 21x21, and the true-colour strips
#define IDB_MAIN_SMALL         51
#define IDB_LIST_SMALL         52
#define IDB_MAIN_LARGE         128
#define IDB_LIST_LARGE         189
#define IDB_MAIN_LARGE_TC      402
#define IDB_MAIN_SMALL_TC      423
#define IDB_LIST_LARGE_TC      424
#define IDB_LIST_SMALL_TC      425
// Task list rows (0 active, 1 inactive) and the header's sort arrows
#define IDB_ROWS_SMALL         401
#define IDB_ROWS_LARGE         403
#define IDB_ROWS_SMALL_TC      407
#define IDB_ROWS_LARGE_TC      408
#define IDB_ARROW_NONE         409
#define IDB_ARROW_UP           411
#define IDB_ARROW_DOWN         412

// Images of the dialogs: the profile lists (17x17, green mask; 16-colour
// version below 16 bits per pixel), the network browser (16x16: root, folder,
// computer; magenta mask), the button strips (16x15, magenta mask)
#define IDB_PROFILES           430
#define IDB_PROFILES_16C       431
#define IDB_NETWORK            432
#define IDB_STRIP_SELECT       433  // Select All, Unselect All
#define IDB_STRIP_PROFILES     434  // New, Edit, Delete profile

// Dialogs
#define IDD_SCHEDULE_BAR       128
#define IDD_FIRST_RUN          209

// Schedule bar
#define IDC_SCHEDULE_BAR_TEXT  1201

// First-run dialog
#define IDC_FIRST_RUN_USER     1301
#define IDC_FIRST_RUN_FILE     1302
#define IDC_FIRST_RUN_BROWSE   1303

// Commands
#define ID_TASK_NEW            2101
#define ID_TASK_PROPERTIES     2102
#define ID_TASK_DELETE         2103
#define ID_TASK_RUN            2104
#define ID_REFRESH             2105
#define ID_SAVE                2106
#define ID_TASK_COPY           2107
#define ID_TASK_PASTE          2108
#define ID_TASK_HISTORY        2109  // the History window of the chosen task
#define ID_OPTIONS             2201
#define ID_START_SCHEDULER     2202
#define ID_VIEW_LOGFILE        2203
#define ID_CONVERT             2204
#define ID_DIAGNOSTICS         2205
#define ID_VIEW_DETAILS        2303
#define ID_VIEW_LIST           2304
#define ID_VIEW_LARGE_ICONS    2305
#define ID_VIEW_USER_SCHEDULE  2306
#define ID_VIEW_HISTORY        2307  // the History window of the schedule shown
#define ID_SYSTEM_INFORMATION  2400
#define ID_MAIN_TOOLBAR        2401
#define ID_WEB_HOME            2402
#define ID_WEB_SITE            2403
#define ID_WEB_MAIL            2405
#define ID_WEB_SUPPORT         2406
#define ID_TASK_LIST_TOOLBAR   2407
#define ID_SELECT_ALL          2500
#define ID_UNSELECT_ALL        2501
#define ID_INVERT_SELECTION    2502
#define ID_SCHEDULE_SELECTOR   32770
#define ID_VIEW_SYSTEM_SCHEDULE 32802
#define ID_ACTIVE              32825
#define ID_STOP_SCHEDULER      32826
#define ID_CLEAR_LOGFILE       32827
#define ID_SCHEDULE_BAR        32830
#define ID_SCHEDULE_PROPERTIES 32831
#define ID_TOOLBAR_TOGGLE      59392
#define ID_STATUS_BAR_TOGGLE   59393
#define ID_APP_ABOUT           57664
#define ID_APP_EXIT            57665
#define ID_HELP                57670

// Window ids of the frame's parts
#define IDW_MAIN_TOOLBAR       0xE800
#define IDW_STATUS_BAR         0xE801
#define IDW_REBAR              0xE804
#define IDW_TASK_TOOLBAR       0xE805
#define IDW_MENU_BAR           0xE806
#define IDW_TASK_LIST          0xE900

// Strings
#define IDS_APP_TITLE          57344  // "KZO Scheduler 6": the message boxes' fallback caption
#define IDS_READY              57345  // "Ready"
#define IDS_CAPTION_ERROR      7572
#define IDS_CAPTION_WARNING    7573
#define IDS_CAPTION_QUERY      7574
#define IDS_HELP_FAILED        7535
#define IDS_EMPTY_LIST_HINT    7685
#define IDS_SCHEDULE_EMPTY     7730  // "The Schedule is empty."
#define IDS_NO_SYSTEM_SCHEDULE 7731
#define IDS_SAVE_AT_EXIT       7732
#define IDS_USER_TASKS         7734
#define IDS_SYSTEM_TASKS       7735
#define IDS_SCHEDULE_BAR_TEXT  7736  // " KZO Scheduler "
#define IDS_CONFIRM_DELETE     7737
#define IDS_CONFIRM_RUN        7738
#define IDS_UNABLE_TO_LAUNCH   7739
#define IDS_REFRESH_OPEN       7540
#define IDS_REFRESH_READ       7541
#define IDS_SAVE_OPEN          7542
#define IDS_SAVE_SYNC          7543
#define IDS_SAVE_WRITE         7544
#define IDS_BAD_SIZE           7545
#define IDS_FILE_NOT_SPECIFIED 7607
#define IDS_FILTER_SCHEDULE    7582
#define IDS_OPEN_TITLE         7584
#define IDS_FILTER_ALL_FIRST   7579
#define IDS_FILTER_PROGRAMS    7580
#define IDS_FOLDER_TITLE       7585
// Text labels of the Main ToolBar's buttons, in button order
#define IDS_LABEL_NEW          7801
#define IDS_LABEL_PROPERTIES   7802
#define IDS_LABEL_DELETE       7803
#define IDS_LABEL_RUN          7804
#define IDS_LABEL_SCHEDULER    7805
#define IDS_LABEL_OPTIONS      7806
#define IDS_LABEL_EXIT         7807
#define IDS_LABEL_WEB          7808
#define IDS_LABEL_ABOUT        7809
#define IDS_LABEL_HELP         7810
// Column headers of the task list, in column order (7740-7748)
#define IDS_COLUMN_FIRST       7740
