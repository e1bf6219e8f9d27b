#include "installer/backdrop_dlg.h"

#include "resource.h"

CBackdropDlg::CBackdropDlg() : CDialog(IDD_BACKDROP) {}
