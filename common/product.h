// The product's name and version, and the contract between the converter and
// its installer: every name, word and number one program relies on the other
// (or a test, benchmark or script) to use. Change them here only.
// scripts/product-info reads this file: keep each value on one line. The
// resource compiler reads the #defines too (for the version resources); what it
// cannot read stays inside the RC_INVOKED guard.
#pragma once

#define QTRA_PRODUCT_NAME "Quantara"
#define QTRA_PRODUCT_VERSION "11.04.01"
// The same version as the four numbers of the version resources and manifests.
#define QTRA_VERSION_MAJOR 11
#define QTRA_VERSION_MINOR 4
#define QTRA_VERSION_PATCH 1
#define QTRA_VERSION_BUILD 0
#define QTRA_COMPANY_NAME "Marlowbrook"
#define QTRA_COPYRIGHT "Copyright (C) 2026 Marlowbrook."
#define QTRA_PRODUCT_URL "http://www.marlowbrook.example/qtra.htm"
// The day this version was released (package managers show it).
#define QTRA_RELEASE_DATE "2026-12-08"
#define QTRA_CONVERTER_FILE_NAME "QTRA.EXE"
#define QTRA_INSTALLER_FILE_NAME "qtrasx.exe"

#ifndef RC_INVOKED
constexpr const char kProductName[] = QTRA_PRODUCT_NAME;
constexpr const char kProductVersion[] = QTRA_PRODUCT_VERSION;
constexpr const char kCompanyName[] = QTRA_COMPANY_NAME;

// The converter's main window title ("%s - Version %s" with name and version).
// The installer recognises a running converter by its prefix.
constexpr const char kMainTitlePrefix[] = QTRA_PRODUCT_NAME " - Version";
constexpr const char kMainTitle[] = QTRA_PRODUCT_NAME " - Version " QTRA_PRODUCT_VERSION;

// Posted by the installer as WM_COMMAND to the converter's main window:
// exit without saving.
constexpr unsigned short ID_REMOTE_CLOSE = 65000;

// The registry key both programs keep their values under (HKEY_CURRENT_USER),
// its sub-keys, and the values one program writes for the other.
inline constexpr char ProductRegKey[] = "Software\\Marlowbrook\\Applications\\qtra";
constexpr const char kConfigureKey[] = "Configure";
constexpr const char kHandlesKey[] = "Handles";
constexpr const char kProgramDirValue[] = "ThisProgramDir";  // the installed folder
constexpr const char kTransHandleValue[] = "TransHandle";    // the converter's main window, "0" when none

// Command-line words: the installer starts the converter with the first; the
// uninstall entry starts the installed installer with the second, which relays
// to a temporary copy started with the third.
constexpr const char kFirstRunArgument[] = "InstallingTheProgram";
constexpr const char kUninstallArgument[] = "UnInstall";
constexpr const char kUninstallRelayArgument[] = "UnInstall2";
// Switches of the installer, compared without case: silent, and the folder
// ("/D=<folder>", last on the line; one pair of quotes around it is dropped).
constexpr const char kSilentSwitch[] = "/S";
constexpr const char kFolderSwitch[] = "/D=";
// The log of a silent run, in the user's temporary folder.
constexpr const char kInstallerLogFileName[] = "qtrasx.log";

// Files the installer writes into the program folder and the converter opens.
constexpr const char kConverterFileName[] = QTRA_CONVERTER_FILE_NAME;
constexpr const char kInstallerFileName[] = QTRA_INSTALLER_FILE_NAME;
constexpr const char kHelpPageFileName[] = "qtrahelp.htm";
constexpr const char kReadMeFileName[] = "README.TXT";
constexpr const char kManualFileName[] = "MANUAL.TXT";
// Written into the program folder by the converter itself.
constexpr const char kPictureFileName[] = "bg_sky.jpg";
constexpr const char kSupportFormFileName[] = "email_ts.htm";
// The installer saves each shortcut here in the program folder before moving it into place.
constexpr const char kShortcutTempFileName[] = "tmp";

// The running converter: the mutex it holds for its whole run, and the
// property that marks its main window (set before the window is published in
// "TransHandle", so the installer finds a converter that is still starting).
constexpr const char kConverterMutexName[] = "Marlowbrook.Quantara.Converter";
constexpr const char kConverterWindowMark[] = "Marlowbrook.Quantara.MainWindow";

#endif  // RC_INVOKED
