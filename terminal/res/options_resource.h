// Resource ids of the scheduler control, the Options dialog and its pages, the
// Convert dialog, the information windows and the History window (options.rc). Only #defines: the
// resource compiler reads this file too. Controls take 1400-1599; strings the
// system numbers carry their numbers, the others 7750-7799.
#pragma once

// Dialogs
#define IDD_DIAGNOSTICS            210
#define IDD_OPS_APPEARANCE         211
#define IDD_OPS_USER               212
#define IDD_OPS_SYSTEM             213
#define IDD_OPS_SYSTEM_DENIED      214
#define IDD_CONVERT                215
#define IDD_OPTIONS                217
#define IDD_SYSTEM_INFORMATION     222
#define IDD_OPS_SETTINGS           240
#define IDD_SCHEDULE_PROPERTIES    245
#define IDD_HISTORY                246

// Options dialog
#define IDC_OPTIONS_TITLE          1401
#define IDC_OPTIONS_DESCRIPTION    1402
#define IDC_OPTIONS_BAND_LINE      1403
#define IDC_OPTIONS_SHEET          1404
#define IDC_OPTIONS_RESET          1405

// User and System Scheduler pages
#define IDC_SCHED_DAT              1411
#define IDC_SCHED_DAT_BROWSE       1412
#define IDC_SCHED_AUTOSTART        1413
#define IDC_SCHED_ACTIVE           1414
#define IDC_SCHED_REFRESH          1415
#define IDC_SCHED_REFRESH_SPIN     1416
#define IDC_SCHED_WARN             1417
#define IDC_SCHED_REPERR           1418
#define IDC_SCHED_AMPM             1419
#define IDC_SCHED_TOPMOST          1420
#define IDC_SCHED_ACTDLG           1421
#define IDC_SCHED_WAV              1422
#define IDC_SCHED_WAV_BROWSE       1423
#define IDC_SCHED_LOGF             1424
#define IDC_SCHED_LOG              1425
#define IDC_SCHED_LOG_BROWSE       1426
#define IDC_SCHED_HISTORY          1427

// Terminal appearance page
#define IDC_LOOK_SAMPLE            1431
#define IDC_LOOK_DEFCOLORS         1432
#define IDC_LOOK_GRID              1433
#define IDC_LOOK_ONETOUCH          1434
#define IDC_LOOK_USECOLORS         1435
#define IDC_LOOK_TBTEXT            1436
#define IDC_LOOK_MTBS              1437
#define IDC_LOOK_LTBS              1438
#define IDC_LOOK_FONT              1439
#define IDC_LOOK_TEXT_COLOR        1440
#define IDC_LOOK_BACKGROUND        1441

// System settings page
#define IDC_SETTINGS_CONFIRM       1451
#define IDC_SETTINGS_STRIP         1452
#define IDC_SETTINGS_SELECT_ALL    1453
#define IDC_SETTINGS_UNSELECT_ALL  1454
#define IDC_SETTINGS_ONEINST       1455
#define IDC_SETTINGS_AUTOQUOTE     1456
#define IDC_SETTINGS_WINHELP       1457
#define IDC_SETTINGS_HTMLHELP      1458

// Convert dialog
#define IDC_CONVERT_SOURCE         1471
#define IDC_CONVERT_SOURCE_BROWSE  1472
#define IDC_CONVERT_TARGET         1473
#define IDC_CONVERT_TARGET_BROWSE  1474

// Diagnostics, System Information, Schedule properties
#define IDC_DIAG_HEADLINE          1481
#define IDC_DIAG_REPORT            1482
#define IDC_SYSINFO_LIST           1491
#define IDC_PROP_NAME              1501
#define IDC_PROP_FILE              1502
#define IDC_PROP_SIZE              1503
#define IDC_PROP_TASKS             1504
#define IDC_PROP_EXECUTOR          1505

// History window
#define IDC_HISTORY_LIST           1511
#define IDC_HISTORY_COUNT          1512
#define IDC_HISTORY_REFRESH        1513

// Strings the system numbers
#define IDS_PROPERTIES_TAB         6105  // "Properties"
#define IDS_INFO_TIME              7527
#define IDS_DIAGNOSTICS_QUERY      7531
#define IDS_CONVERT_SET_WORKING    7571
#define IDS_FILTER_CONVERT_SOURCE  7583
#define IDS_FILTER_CONVERT_TARGET  7617
#define IDS_FILTER_LOG             7619
#define IDS_VERSION_TEXT           7624
#define IDS_BAD_REFRESH_TIME       7637
#define IDS_SAMPLE_COLUMN          7647
#define IDS_SAMPLE_FIRST           7648  // 7648-7657: the ten colour entries
#define IDS_HEADER_USER            7666
#define IDS_HEADER_SYSTEM          7667
#define IDS_HEADER_APPEARANCE      7668
#define IDS_HEADER_PROFILES        7669
#define IDS_FILTER_WAV             7679
#define IDS_UNSELECT_ALL_TIP       7683
#define IDS_SELECT_ALL_TIP         7684
#define IDS_INFO_OS                7692
#define IDS_INFO_COMPUTER          7693
#define IDS_INFO_CPU               7694
#define IDS_INFO_RAM               7695
#define IDS_HEADER_SETTINGS        7708
#define IDS_CONFIRM_FIRST          7709  // 7709-7715: the seven confirmations
#define IDS_USER_PROPERTIES        7720
#define IDS_SYSTEM_PROPERTIES      7721
#define IDS_STATE_ACTIVE           7722
#define IDS_STATE_INACTIVE         7723
#define IDS_STATE_RUNNING          7724
#define IDS_STATE_STOPPED          7725

// Strings of this feature without a number of the system's
#define IDS_ASK_START_USER         7750
#define IDS_ASK_START_SYSTEM       7751
#define IDS_START_SERVICE_FAILED   7752
#define IDS_START_USER_FAILED      7753
#define IDS_ASK_STOP_USER          7754
#define IDS_ASK_STOP_SYSTEM        7755
#define IDS_STOP_SERVICE_FAILED    7756
#define IDS_STOP_NOT_RUNNING       7757
#define IDS_SHOW_LOG_FAILED        7758
#define IDS_ASK_CLEAR_USER_LOG     7759
#define IDS_ASK_CLEAR_SYSTEM_LOG   7760
#define IDS_CLEAR_LOG_FAILED       7761
#define IDS_SET_WORKING_FAILED     7762
#define IDS_SAVE_USER_FAILED       7763
#define IDS_SAVE_SYSTEM_FAILED     7764
#define IDS_PATH_TOO_LONG          7765
#define IDS_SAMPLE_FAILED          7766  // the colour list's entry 10
#define IDS_HISTORY_COLUMN_FIRST   7767  // 7767-7770: Task, Started, Ended, Result
#define IDS_HISTORY_OF_TASK        7771
#define IDS_HISTORY_COUNT          7772
#define IDS_HISTORY_OFF            7773
