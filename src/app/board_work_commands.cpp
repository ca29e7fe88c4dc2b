// The dialog's care for the designer's work: nothing unsaved is thrown away
// without a question, another workbook replaces the list only once it has
// been read, and 自动平衡 says which circuits it moved.
#include "app/load_calc_dlg.h"

#include <QWidget>

#include "calc/balance_moves.h"
#include "platform/text/encoding.h"
#include "platform/ui/message_box.h"

namespace {
CString DiscardQuestion(bool unwrittenEdits, bool unsavedResults) {
  if (!unwrittenEdits) return FromUtf8("当前的计算结果尚未保存，是否放弃？");
  if (!unsavedResults) return FromUtf8("对回路的修改尚未写回工作簿，是否放弃？");
  return FromUtf8("对回路的修改尚未写回工作簿，当前的计算结果也尚未保存，是否放弃？");
}
}  // namespace

bool CLoadCalcDlg::ConfirmDiscard() {
  const bool unwrittenEdits = HasUnwrittenEdits();
  const bool unsavedResults = m_boardState.HasUnsavedWork();
  if (!unwrittenEdits && !unsavedResults) return true;
  return AfxMessageBox(DiscardQuestion(unwrittenEdits, unsavedResults), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
         IDYES;
}

bool CLoadCalcDlg::OpenWorkbook(const CString& path) {
  if (!ConfirmDiscard()) return false;
  const CString previous = GetWorkbookPath();
  SetWorkbookPath(path);
  if (!ReadList()) {
    SetWorkbookPath(previous);
    return false;
  }
  m_bWorkbookChosen = true;
  UpdateTitle();
  return true;
}

void CLoadCalcDlg::OpenHandedWorkbook(const CString& path) {
  if (QWidget* window = GetWidget()) {
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
  }
  OpenWorkbook(path);
}

void CLoadCalcDlg::OnCancel() {
  if (ConfirmDiscard()) CDialog::OnCancel();
}

bool CLoadCalcDlg::EnterCalculates(const MSG* pMsg) {
  if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_RETURN || !pMsg->hwnd) return false;
  if (pMsg->hwnd != GetDlgItem(IDC_POWER_FACTOR) && pMsg->hwnd != GetDlgItem(IDC_DEMAND_COEF)) return false;
  OnCalc();
  return true;
}

void CLoadCalcDlg::AfterBalance(bool calculated) {
  const std::vector<PhaseMove> moves = PhaseMoves(m_list, LastBalance());
  m_boardState.PhasesMoved(MovedRows(moves));
  m_listModel.RefreshPhaseMarks();
  AfterListEdited();
  if (!calculated) return;
  m_boardState.Calculated();
  RememberBalancing();
  AfxMessageBox(BalanceMovesMessage(moves, m_fUnbalance));
}
