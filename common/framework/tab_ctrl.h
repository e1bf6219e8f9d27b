// CTabCtrl: a window object for a tab control of a dialog template.
#pragma once
#include "common/framework/wnd.h"

#include <commctrl.h>

class CTabCtrl : public CWnd {
 public:
  LONG InsertItem(int index, const char* text);
  int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
  int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
  int SetCurSel(int index) const { return static_cast<int>(SendMessage(TCM_SETCURSEL, index)); }
  int GetCurFocus() const { return static_cast<int>(SendMessage(TCM_GETCURFOCUS)); }
  void SetCurFocus(int index) const { SendMessage(TCM_SETCURFOCUS, index); }
  BOOL GetItemRect(int index, RECT* rect) const {
    return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect)));
  }
  int SetMinTabWidth(int width) const { return static_cast<int>(SendMessage(TCM_SETMINTABWIDTH, 0, width)); }
};
