// The installer without a window: "/S" installs (into "/D=" or the folder the
// location page would propose first), "UnInstall /S" relays to a silent copy
// and waits for it, "UnInstall2 /S" uninstalls. Each step goes to the log.
#pragma once
#include "common/install_rules.h"

// Runs `command` (silent) and gives its InstallerExitCode; the log is started.
int RunSilently(const InstallerCommand& command);
// The log's last line of a run that failed; gives `code` (or, where a folder
// name this Windows cannot give us was the cause, kExitFolderNotNameable).
int Fail(int code, const char* reason);
