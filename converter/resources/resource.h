// Resource identifiers of the converter qtra.exe.
#pragma once

#define IDD_MAIN 206
#define IDC_PAGE_TABS 1024
