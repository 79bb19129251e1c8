// Resource ids of the Terminal's task editing dialogs (task_editing.rc): the
// Command and Day and time pages of the task sheet and of the new-task wizard,
// the sheet's container, the dialogs the pages open and the task profiles.
// Only #defines: the resource compiler reads this file too.
#pragma once

// Dialogs
#define IDD_WIZARD_COMMAND      202
#define IDD_WIZARD_DAYTIME      203
#define IDD_SHUTDOWN            204
#define IDD_INTERVAL            205
#define IDD_ADVANCED            206
#define IDD_SHEET_COMMAND       207
#define IDD_SHEET_DAYTIME       208
#define IDD_PROFILES_PAGE       216
#define IDD_TASK_SHEET          218
#define IDD_PROFILE_PICKER      219
#define IDD_PROFILE             220
#define IDD_NETWORK_BROWSER     221

// The drop-down menus of the Day and time page's list headers: popup 0 the
// weekdays, popup 1 the months.
#define IDR_DAYTIME_MENUS       241

// The wizard pages' heading "Create new task"
#define IDC_WIZARD_HEADING      718

// Command page of the sheet (207)
#define IDC_SHEET_NAME          514
#define IDC_SHEET_PROFILES      935
#define IDC_SHEET_COMMAND_LABEL 713
#define IDC_SHEET_COMMAND       515
#define IDC_SHEET_BROWSE        913
#define IDC_SHEET_FOLDER_LABEL  732
#define IDC_SHEET_FOLDER        516
#define IDC_SHEET_FOLDER_BROWSE 914
#define IDC_SHEET_APPLICATION   309  // 309-312: Application, Document, Message, Shut down
#define IDC_SHEET_DOCUMENT      310
#define IDC_SHEET_MESSAGE       311
#define IDC_SHEET_SHUTDOWN      312
#define IDC_SHEET_ADVANCED      915
#define IDC_SHEET_ACTIVE        806
#define IDC_SHEET_RUN_ONCE      807
#define IDC_SHEET_MINIMIZED     808
#define IDC_SHEET_INTERACTIVE   826

// Command page of the wizard (202)
#define IDC_WIZARD_NAME          501
#define IDC_WIZARD_PROFILES      934
#define IDC_WIZARD_COMMAND_LABEL 714
#define IDC_WIZARD_COMMAND       502
#define IDC_WIZARD_BROWSE        900
#define IDC_WIZARD_FOLDER_LABEL  733
#define IDC_WIZARD_FOLDER        503
#define IDC_WIZARD_FOLDER_BROWSE 902
#define IDC_WIZARD_APPLICATION   301  // 301-304
#define IDC_WIZARD_DOCUMENT      302
#define IDC_WIZARD_MESSAGE       303
#define IDC_WIZARD_SHUTDOWN      304
#define IDC_WIZARD_ADVANCED      903
#define IDC_WIZARD_ACTIVE        801
#define IDC_WIZARD_RUN_ONCE      802
#define IDC_WIZARD_MINIMIZED     803
#define IDC_WIZARD_INTERACTIVE   827

// Shut Down Windows (204): TURNOFF, SHUTDOWN, REBOOT, LOGOFF
#define IDC_SHUTDOWN_TURNOFF    305
#define IDC_SHUTDOWN_SHUTDOWN   306
#define IDC_SHUTDOWN_REBOOT     307
#define IDC_SHUTDOWN_LOGOFF     308

// Advanced process settings (206)
#define IDC_ADVANCED_KILL       511
#define IDC_ADVANCED_KILL_SPIN  1004
#define IDC_ADVANCED_QUIT       512
#define IDC_ADVANCED_QUIT_SPIN  1005
#define IDC_ADVANCED_ON_ERROR   513
#define IDC_ADVANCED_BROWSE     912
#define IDC_ADVANCED_WARNING_ICON 1006

// Day and time page (203 and 208)
#define IDC_DT_WEEKDAYS_LABEL   1400
#define IDC_DT_WEEKDAYS         1401
#define IDC_DT_MONTHS_LABEL     1402
#define IDC_DT_MONTHS           1403
#define IDC_DT_DAYS             1404
#define IDC_DT_SCHEDULED        1405
#define IDC_DT_STARTUP          1406
#define IDC_DT_HOUR             1407
#define IDC_DT_MINUTE           1408
#define IDC_DT_SPIN             1409
#define IDC_DT_AMPM             1410
#define IDC_DT_CYCLE            1411
#define IDC_DT_RUN_LATER        1412
#define IDC_DT_INTERVAL         1413
#define IDC_DT_NEXT_RUN         1414
#define IDC_DT_TIME_LABEL       1415

// The header menus' commands
#define ID_DT_WEEKDAYS          1421
#define ID_DT_DAILY             1422
#define ID_DT_SELECT_ALL        1423
#define ID_DT_UNSELECT_ALL      1424

// Activity Interval (205)
#define IDC_IV_FROM_HOUR        1431
#define IDC_IV_FROM_MINUTE      1432
#define IDC_IV_FROM_SPIN        1433
#define IDC_IV_FROM_AMPM        1434
#define IDC_IV_TO_HOUR          1435
#define IDC_IV_TO_MINUTE        1436
#define IDC_IV_TO_SPIN          1437
#define IDC_IV_TO_AMPM          1438
#define IDC_IV_INVERT           1439
#define IDC_IV_FULL_DAY         1440

// Task sheet container (218)
#define IDC_TS_TITLE            1451
#define IDC_TS_DESCRIPTION      1452
#define IDC_TS_LINE             1453
#define IDC_TS_PLACEHOLDER      1454
#define IDC_TS_BOTTOM_LINE      1455

// Task Profiles page (216), picker (219), profile dialog (220)
#define IDC_PROFILES_LIST       1461
#define IDC_PROFILES_STRIP      1462
#define IDC_PROFILES_COUNT      1463
#define ID_PROFILE_NEW          2550
#define ID_PROFILE_EDIT         2551
#define ID_PROFILE_DELETE       2552
#define IDC_PICKER_LIST         1471
#define IDC_PROFILE_NAME        1481
#define IDC_PROFILE_COMMAND     1482
#define IDC_PROFILE_BROWSE      1483
#define IDC_PROFILE_TYPE        1484
#define IDC_PROFILE_COMMENT     1485

// Network browser (221)
#define IDC_NET_STATUS          1491
#define IDC_NET_TREE            1492

// Strings: the system's numbers
#define IDS_LABEL_COMMAND       7501  // "&Command :"
#define IDS_LABEL_MESSAGE       7502  // "Messa&ge :"
#define IDS_FOLDER_CHARACTERS   7505
#define IDS_DOCUMENT_QUOTE      7513
#define IDS_DOCUMENT_CHARACTERS 7516
#define IDS_SHEET_TITLE         7518  // "\"%s\" properties"
#define IDS_PROFILE_COLUMN_COMMAND 7529
#define IDS_DUPLICATE_NAME      7538
#define IDS_TASK_NAME           7539  // "Task %d"
#define IDS_INVALID_SECONDS     7576
#define IDS_SHUTDOWN_KEYWORD    7577
#define IDS_NO_NAME_OR_COMMAND  7578
#define IDS_LABEL_SELECT        7586
#define IDS_LABEL_BROWSE        7587
#define IDS_INVALID_TIME        7588
#define IDS_INVALID_DAY_CHARACTER 7589
#define IDS_NO_DAY              7590
#define IDS_INVALID_DAY         7591
#define IDS_TIME_NOT_IN_INTERVAL 7592
#define IDS_ZERO_CYCLE          7593
#define IDS_WIZARD_TITLE        7629  // "New task \"%s\""
#define IDS_INVERT_FULL_DAY     7638
#define IDS_INTERVAL_ORDER      7639
#define IDS_PROFILE_COLUMN_TYPE 7644
#define IDS_INFORMATION         7645  // "Information": caption and column
#define IDS_PROFILE_COLUMN_NAME 7646
#define IDS_LABEL_RUN_LATER     7658
#define IDS_LABEL_EVERY_STARTUP 7659
#define IDS_LABEL_WIZARD_LOGON  7660
#define IDS_LABEL_SHEET_LOGON   7661
#define IDS_COMMAND_DESCRIPTION 7664
#define IDS_DAYTIME_DESCRIPTION 7665
#define IDS_LABEL_STARTUP_FOLDER 7670
#define IDS_LABEL_COMPUTER      7671
#define IDS_PROFILES_LOAD_ERROR 7672
#define IDS_PROFILES_COUNT      7673  // " %u profiles."
#define IDS_EDIT_PROFILE        7674
#define IDS_NEW_PROFILE         7675
#define IDS_NO_PROFILE_NAME     7676
#define IDS_PROFILES_SAVE_ERROR 7677
#define IDS_CONFIRM_DELETE_PROFILE 7678
#define IDS_PROFILE_NAME        7680  // "Profile %u"
#define IDS_NET_PROMPT          7686
#define IDS_NET_ROOT            7687
#define IDS_NET_COMPUTERS       7688
#define IDS_NET_DOMAINS         7689
#define IDS_REMOTE_TARGETS      7690
#define IDS_NET_EXPLORING       7691

// Strings of our own
#define IDS_TYPE_APPLICATION    7820  // the profile dialog's type combo, in type order
#define IDS_TYPE_DOCUMENT       7821
#define IDS_TYPE_MESSAGE        7822
#define IDS_TYPE_SHUTDOWN       7823
#define IDS_NEXT_RUN_INVALID    7824
#define IDS_HINT_NAME           7825
#define IDS_HINT_COMMAND        7826
#define IDS_HINT_FOLDER         7827
#define IDS_AM                  7828
#define IDS_PM                  7829
#define IDS_TASK_PROPERTIES     7830  // the container's band title
#define IDS_DAY_FIRST           7831  // 7831-7837 "Monday" .. "Sunday"
#define IDS_MONTH_FIRST         7838  // 7838-7849 "January" .. "December"
