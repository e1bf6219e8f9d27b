// The first-run notice shown when the installer starts the converter.
#pragma once
#include "common/framework/dialog.h"

class CNoticeDialog : public CDialog {
 public:
  CNoticeDialog();

  const char* m_caption = "";
  const char* m_body = "";

  BOOL OnInitDialog() override;

  DECLARE_MESSAGE_TABLE()

 private:
  LRESULT OnNoticeOk(WPARAM, LPARAM);
};
