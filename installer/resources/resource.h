// Resource identifiers of the installer qtrasx.exe.
#pragma once

#define IDD_BACKDROP 200
