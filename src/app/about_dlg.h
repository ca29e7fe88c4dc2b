// The About box: the program's icon, name and version, and "确定".
#pragma once

#include "controls/xp_button.h"
#include "platform/ui/dialog.h"
#include "res/ui/resource.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  enum { IDD = IDD_ABOUTBOX };

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  CXPButton m_btnOK;
};
