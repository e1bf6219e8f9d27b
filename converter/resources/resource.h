// Resource identifiers of the converter qtra.exe: windows, menus, commands,
// icons and pictures. The pages' controls are numbered in the engine's catalogue.
#pragma once

// Dialog templates (207 to 213 are the conversion pages).
#define IDD_SPLASH 200
#define IDD_ABOUT 205
#define IDD_MAIN 206
#define IDD_NOTICE 215

// Controls.
#define IDC_ABOUT_VERSION 1023
#define IDC_PAGE_TABS 1024
#define IDC_NOTICE_BODY 1308
#define IDC_NOTICE_OK 1309

// Icons and pictures.
#define IDI_PROGRAM 128
#define IDI_TRAY 129
#define IDB_SPLASH 136

// Menus.
#define IDR_MAIN_MENU 141
#define IDR_TRAY_MENU 142

// Commands.
#define ID_FILE_EXIT 32771
#define ID_OPTIONS_USE_TRAY 32772
#define ID_OPTIONS_HIDE_AT_STARTUP 32773
#define ID_HIDE 32774
#define ID_HELP_HELP 32775
#define ID_HELP_README 32776
#define ID_HELP_MANUAL 32777
#define ID_SUPPORT_WEB_SITE 32778
#define ID_SUPPORT_FAQ 32779
#define ID_SUPPORT_EMAIL 32780
#define ID_SUPPORT_PHONE 32781
#define ID_HELP_ABOUT 32782
#define ID_TRAY_EXIT 32786
// ID_REMOTE_CLOSE (65000), posted by the installer, is in common/product.h.
