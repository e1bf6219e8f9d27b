// Resource identifiers of the installer qtrasx.exe.
#pragma once

// Dialogs.
#define IDD_BACKDROP 200
#define IDD_LOCATION 201
#define IDD_UNINSTALL 202

// Icon and backdrop picture.
#define IDI_INSTALLER 128
#define IDB_BACKDROP 129

// Embedded files (RCDATA), in installation order.
#define IDR_QTRA_EXE 130
#define IDR_HELP_PAGE 131
#define IDR_README_TXT 132
#define IDR_README_ICO 133
#define IDR_MANUAL_TXT 134
#define IDR_MANUAL_ICO 135
#define IDR_UNINSTL_ICO 136

// Location page (dialog 201).
#define IDC_INSTRUCTION 1000
#define IDC_MODE_SHORT_PATH 1001
#define IDC_MODE_LOCAL_USER 1002
#define IDC_MODE_PROGRAM_FILES 1003
#define IDC_MODE_ROAMING_USER 1004
#define IDC_MODE_MULTI_USER 1005
#define IDC_MODE_UPGRADE 1006
#define IDC_FOLDER_LABEL 1007
#define IDC_FOLDER 1008
#define IDC_SOURCE 1009
#define IDC_DESTINATION 1010
#define IDC_PROGRESS 1011
#define IDC_EXIT 1012
#define IDC_NEXT 1013

// Uninstall page (dialog 202).
#define IDC_CONFIRMATION 1014
#define IDC_UNINSTALL_CANCEL 1015
#define IDC_FINISH 1016

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
