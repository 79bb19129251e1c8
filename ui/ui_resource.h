// Resource ids of the UI library (ui.rc and about_box.rc). A program that links
// kzo_ui includes these scripts into its own .rc, so these numbers are taken in
// every such program: 6100-6199 and 9000-9099, and dialog 200 where the About
// box is included. Plain #defines: windres reads this file too.
#pragma once

// Hyperlink label: its context menu and the commands in it.
#define IDM_UI_HYPERLINK 6103
#define ID_UI_LINK_OPEN 6104
#define ID_UI_LINK_COPY 6105
#define ID_UI_LINK_FAVORITES 6106
#define ID_UI_LINK_DESKTOP 6107
#define ID_UI_LINK_PROPERTIES 6108

// The hyperlink properties page ("General") and its controls.
#define IDD_UI_HLINK_PAGE 6120
#define IDC_UI_HLINK_ADDRESS 6121
#define IDC_UI_HLINK_ICON 6122
#define IDC_UI_HLINK_NAME 6123

// The hand cursor of the hyperlink label, where the system has none.
#define IDC_UI_HAND 6130

// The About box (dialog 200, in about_box.rc) and its controls.
#define IDD_UI_ABOUT 200
#define IDC_UI_ABOUT_CREDITS 6140
#define IDC_UI_ABOUT_ICON 6141
#define IDC_UI_ABOUT_PRODUCT 6142
#define IDC_UI_ABOUT_DATE 6143
#define IDC_UI_ABOUT_HOME 6144
#define IDC_UI_ABOUT_MAIL 6145

// Controls of the message box.
#define IDC_UI_MB_CHECK 6150
#define IDC_UI_MB_ICON 20
#define IDC_UI_MB_TEXT 0xFFFF

// Button texts of the message box.
#define IDS_UI_MB_OK 9001
#define IDS_UI_MB_CANCEL 9002
#define IDS_UI_MB_IGNORE 9003
#define IDS_UI_MB_RETRY 9004
#define IDS_UI_MB_ABORT 9005
#define IDS_UI_MB_HELP 9006
#define IDS_UI_MB_YES 9007
#define IDS_UI_MB_NO 9008
#define IDS_UI_MB_CONTINUE 9009
#define IDS_UI_MB_CHECK_A 9010
#define IDS_UI_MB_CHECK_B 9011
#define IDS_UI_MB_YES_TO_ALL 9012
#define IDS_UI_MB_NO_TO_ALL 9013

// Texts of the hyperlink label.
#define IDS_UI_LINK_OPEN_FAILED 9020
#define IDS_UI_LINK_SHORTCUT_FAILED 9021
#define IDS_UI_LINK_CLIPBOARD_FAILED 9022
