// The dialog's choice of method and balancing: the context menu items
// 计算方法 (原方法 / 规范法) and 自动平衡时尽量少移动回路, remembered between
// runs, and 规范法's own group below the balance results.
#include <QGroupBox>

#include "app/load_calc_dlg.h"
#include "platform/ui/qt_text.h"

namespace {

// System-menu commands, multiples of 16 beside the others.
constexpr UINT kOriginalMethodCommand = 0x0200;
constexpr UINT kStandardMethodCommand = 0x0210;
constexpr UINT kFewestMovesCommand = 0x0220;

QWidget* BalanceResultsGroup(QWidget* dialog) {
  for (QGroupBox* group : dialog->findChildren<QGroupBox*>())
    if (group->title() == QStringLiteral("平衡计算结果")) return group;
  return nullptr;
}

}  // namespace

void CLoadCalcDlg::AppendCalcMethodItems(CMenu& menu) {
  menu.AppendMenu(MF_STRING, kOriginalMethodCommand, Cp936("计算方法：原方法"));
  menu.AppendMenu(MF_STRING, kStandardMethodCommand, Cp936("计算方法：规范法"));
  menu.AppendMenu(MF_STRING, kFewestMovesCommand, Cp936("自动平衡时尽量少移动回路"));
}

void CLoadCalcDlg::SetUpCalcMethod() {
  const CalcMethodSettings settings = LoadCalcMethodSettings();
  m_method = settings.standard ? CalcMethod::Standard : CalcMethod::Original;
  m_standardInputs = settings.inputs;
  m_bFewestMoves = settings.fewestMoves;
  m_standardPanel = new StandardMethodPanel(GetWidget(), BalanceResultsGroup(GetWidget()));
  m_standardPanel->ShowInputs(m_standardInputs);
  ShowCalcMethod();
}

bool CLoadCalcDlg::OnCalcMethodCommand(UINT command) {
  if (command == kOriginalMethodCommand || command == kStandardMethodCommand) {
    if (m_standardPanel) m_standardInputs = m_standardPanel->ReadInputs();
    const CalcMethod chosen = command == kStandardMethodCommand ? CalcMethod::Standard : CalcMethod::Original;
    // Figures of the other method would be taken for this one's.
    if (chosen != m_method) ClearResults();
    m_method = chosen;
  } else if (command == kFewestMovesCommand) {
    m_bFewestMoves = !m_bFewestMoves;
  } else {
    return false;
  }
  RememberCalcMethod();
  ShowCalcMethod();
  return true;
}

// 功率因数 and 需要系数 keep their values but take no part in 规范法.
void CLoadCalcDlg::ShowCalcMethod() {
  const bool standard = m_method == CalcMethod::Standard;
  CMenu* menu = GetSystemMenu(FALSE);
  menu->CheckMenuItem(kOriginalMethodCommand, standard ? MF_UNCHECKED : MF_CHECKED);
  menu->CheckMenuItem(kStandardMethodCommand, standard ? MF_CHECKED : MF_UNCHECKED);
  menu->CheckMenuItem(kFewestMovesCommand, m_bFewestMoves ? MF_CHECKED : MF_UNCHECKED);
  for (const int id : {IDC_POWER_FACTOR, IDC_DEMAND_COEF})
    if (CWnd* field = GetDlgItem(id)) field->EnableWindow(!standard);
  if (m_standardPanel) m_standardPanel->SetVisible(standard);
}

void CLoadCalcDlg::RememberCalcMethod() const {
  CalcMethodSettings settings;
  settings.standard = m_method == CalcMethod::Standard;
  settings.fewestMoves = m_bFewestMoves;
  settings.inputs = m_standardInputs;
  // Inputs the calculation would refuse are not remembered.
  if (CheckStandardInputs(settings.inputs) != StandardInputProblem::None) settings.inputs = LoadCalcMethodSettings().inputs;
  SaveCalcMethodSettings(settings);
}
