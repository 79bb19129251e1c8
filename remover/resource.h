// Resource ids of the uninstaller (remover.rc). Only #defines: the resource
// compiler reads this file too.
#pragma once

#define IDI_REMOVER             1

#define IDS_QUESTION            7500  // "Do you want to uninstall ..."
#define IDS_CAPTION             7501  // "KZO Scheduler 6 Uninstall"
#define IDS_UNABLE              7502  // the program folder's files could not be deleted
#define IDS_ERROR               7503  // "Error"
#define IDS_NOT_INSTALLATION    7504  // the folder is not the installation; %s: the folder
