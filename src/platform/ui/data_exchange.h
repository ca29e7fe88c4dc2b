// Data exchange between a dialog's controls and its members. Reading a
// float that is not a number shows "请输入一个数字。", puts the focus on the
// field and ends the exchange (UpdateData answers false).
#pragma once

#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

class CDialog;
class CWnd;

class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;
  CDialog* m_pDlgWnd;
  // The control that Fail() puts the focus on.
  void PrepareEditCtrl(int id);
  [[noreturn]] void Fail();

 private:
  int m_idLastControl = 0;
};

// Thrown by Fail(); UpdateData catches it.
struct CUserException {};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, float& value);

// The float rules: six significant digits out; in, a decimal number with
// optional spaces around it. False when the text is not a finite number.
CString FormatDialogFloat(float value);
bool ParseDialogFloat(const CString& text, float& value);
