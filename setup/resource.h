// Resource ids of the installer (setup.rc). Only #defines: the resource
// compiler reads this file too. The UI library's script (ui.rc) is included
// as well and takes 6100-6199 and 9000-9099.
#pragma once

#define IDI_SETUP               1
#define IDB_BANNER              110
#define IDB_WIZARD_HEADER       111
#define IDB_WIZARD_WATERMARK    112

// Dialogs: the wizard's three pages and the components' explanation.
#define IDD_DETAILS             140
#define IDD_WIZ0                200
#define IDD_WIZ1                201
#define IDD_WIZ2                202

// Controls of the pages (1000-1099).
#define IDC_TITLE               1000  // the outer pages' big title
#define IDC_SUBTITLE            1001
#define IDC_VERSION             1002
#define IDC_FOLDER              1003
#define IDC_BROWSE              1004
#define IDC_USER_SCHEDULER      1010
#define IDC_SYSTEM_SCHEDULER    1011
#define IDC_DETAILS             1012
#define IDC_OS_FAMILY           1013
#define IDC_DESKTOP_ICON        1014
#define IDC_START_MENU_ICONS    1015
#define IDC_FINISHED_TEXT       1020

#define IDS_SELECT_FOLDER       7500  // "Select folder to install KZO Scheduler :"
#define IDS_QUIT_QUESTION       7501  // "KZO Scheduler is not completely installed ..."
#define IDS_COPY_FAILED         7502  // "Unable to install software. ..."
#define IDS_ERROR               7503  // "Error"
#define IDS_WIZARD_CAPTION      7504  // "KZO Scheduler 6 Setup"
#define IDS_WARNING             7505  // "Warning"
#define IDS_NO_FOLDER           7506  // "Install folder was not specified.\t "
#define IDS_REGISTRY_FAILED     7507  // "There was an error while accessing System Registry. ..."
#define IDS_FEATURES_HEADING    7508  // "Main product features:"
#define IDS_NEEDS_ADMINISTRATOR 7509  // "The System Scheduler must be installed by Administrator."
#define IDS_OLD_COMMON_CONTROLS 7510  // "Your system contains old version of the Common Controls Library. ..."
#define IDS_HEADER_WIZ0         7511  // "This program will install the KZO Scheduler into your system"
#define IDS_HEADER_WIZ1         7512  // "Select components and customize setup options"
#define IDS_HEADER_WIZ2         7513  // "Complete setup"
#define IDS_SUBTITLE_WIZ0       7514  // "KZO Scheduler is the task scheduler for Microsoft® Windows"
#define IDS_FEATURES            7518  // the feature list of the background window
#define IDS_FOLDER_NOT_ON_DRIVE 7519  // "Install folder must be on a drive or a network share.\t "
#define IDS_FOLDER_TOO_LONG     7520  // "Install folder name is too long.\t "
#define IDS_FOLDER_IS_ROOT      7521  // "Install folder can't be the root of a drive or share.\t "
