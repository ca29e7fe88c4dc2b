#include "app/load_calc_dlg.h"

#include <algorithm>

#include "app/about_dlg.h"
#include "app/list_cell_editor.h"
#include "app/main_dialog_tips.h"
#include "app/shortcuts.h"
#include "app/workbook_drop.h"

#include <filesystem>

#include "calc/formula_cells.h"
#include "calc/problem_texts.h"
#include "calc/calc_texts.h"
#include "calc/program_folder.h"
#include "calc/results_target.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/icon.h"
#include "platform/odbc/db_exception.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/resources.h"
#include "platform/ui/win_app.h"
#include "platform/ui/window_dc.h"
#include "report/calculation_report.h"
#include "report/report_messages.h"
#include "report_pdf/report_pdf.h"

namespace {

constexpr COLORREF kListBackground = RGB(233, 233, 220);
constexpr UINT kOpenWorkbookCommand = shortcuts::kOpenWorkbookCommand;
constexpr const char kWorkbookFilter[] = "Excel 工作簿 (*.xls;*.xlsx;*.xlsm)|*.xls;*.xlsx;*.xlsm|所有文件 (*.*)|*.*||";

// The file name of a path, after its last folder separator.
CString FileNameOf(const CString& path) {
  const int slash = std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
  return path.Mid(slash + 1);
}

}  // namespace

CLoadCalcDlg::CLoadCalcDlg(CWnd* pParent)
    : CDialog(IDD, pParent), CLoadCalcCore(m_circuits, m_cbSwitch, *this) {
  SetWorkbookPath(GetWorkbookFolder() + InputWorkbookName());
  if (CWinApp* app = AfxGetApp()) m_hIcon = app->LoadIcon(IDR_MAINFRAME);
  m_brListBackground.CreateSolidBrush(kListBackground);
  m_listModel.onExtendedStyle = [this](uint32_t style) { m_listView.SetExtendedStyle(style); };
  m_listModel.isPhaseMarked = [this](int row) { return m_boardState.IsPhaseMarked(row); };
  m_boardState.onCircuitChanged = [this] { ClearResults(); };
}

CLoadCalcDlg::~CLoadCalcDlg() {
  if (GetWidget()) DestroyWindow();
  if (m_hIcon) DestroyIcon(m_hIcon);
}

void CLoadCalcDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SAVE, m_btnSave);
  DDX_Control(pDX, IDC_AUTO_BALANCE, m_btnAutoBalance);
  DDX_Control(pDX, IDC_SWITCH, m_cbSwitch);
  DDX_Control(pDX, IDC_CALC, m_btnCalc);
  DDX_Control(pDX, IDC_LIST, m_listView);
  DDX_Control(pDX, IDC_ROW, m_editRow);
  DDX_Control(pDX, IDC_COL, m_editCol);
  DDX_Control(pDX, IDOK, m_btnRead);
  DDX_Control(pDX, IDCANCEL, m_btnExit);
  DDX_Control(pDX, IDC_WRITE, m_btnWrite);
  DDX_Control(pDX, IDC_QUERY, m_btnQuery);
  DDX_Control(pDX, IDC_ABOUT, m_btnAbout);
  DDX_Control(pDX, IDC_CONVERT, m_chkConvert);
  DDX_Text(pDX, IDC_ROW, m_strRow);
  DDX_Text(pDX, IDC_COL, m_strCol);
  DDX_Text(pDX, IDC_UNBALANCE, m_fUnbalance);
  DDX_Text(pDX, IDC_CURRENT, m_fCurrent);
  DDX_Text(pDX, IDC_L1, m_fL1);
  DDX_Text(pDX, IDC_L2, m_fL2);
  DDX_Text(pDX, IDC_L3, m_fL3);
  DDX_Text(pDX, IDC_EQUIP_POWER, m_fEquipPower);
  DDX_Text(pDX, IDC_CALC_POWER, m_fCalcPower);
  DDX_Text(pDX, IDC_POWER_FACTOR, m_fPowerFactor);
  DDX_Control(pDX, IDC_L1, m_editL1);
  DDX_Control(pDX, IDC_L2, m_editL2);
  DDX_Control(pDX, IDC_L3, m_editL3);
  DDX_Text(pDX, IDC_DEMAND_COEF, m_fDemandCoef);
}

BOOL CLoadCalcDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_listView.SetModel(&m_listModel);

  const CString aboutMenu = LoadResourceString(IDS_ABOUTBOX);
  if (!aboutMenu.IsEmpty()) BuildContextMenu(aboutMenu);
  SetUpCalcMethod();
  m_strBaseTitle = GetWindowText();
  // Boxes carry the program's title, never the executable's name.
  SetMessageBoxCaption(m_strBaseTitle);
  if (m_bWorkbookChosen) UpdateTitle();
  new WorkbookDrop(GetWidget(), [this](const QString& file) { OpenWorkbook(FromQString(file)); });
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  // Without a tip window the dialog works on, only without tips.
  SetUpMainDialogTips(m_tooltip, this);

  SetUpWindow();
  SetUpCellEditing();
  ResetCircuitList();
  return TRUE;
}

BOOL CLoadCalcDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  // A command given by its key runs on the list as the designer sees it.
  if (m_cellEditor) m_cellEditor->FinishEditing();
  switch (LOWORD(static_cast<DWORD>(wParam))) {
    case IDOK: OnOK(); return TRUE;
    case IDC_WRITE: OnWrite(); return TRUE;
    case IDC_ABOUT: OnAbout(); return TRUE;
    case IDC_QUERY: OnQuery(); return TRUE;
    case IDC_CALC: OnCalc(); return TRUE;
    case IDC_AUTO_BALANCE: OnAutoBalance(); return TRUE;
    case IDC_SAVE: OnSave(); return TRUE;
    default: return CDialog::OnCommand(wParam, lParam);
  }
}

void CLoadCalcDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if (m_cellEditor) m_cellEditor->FinishEditing();
  if (RunWindowCommand(nID) || RunEditCommand(nID)) return;
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) ShowAboutBox();
  else if ((nID & 0xFFF0) == IDM_EXPORT_REPORT) OnExportReport();
  else if ((nID & 0xFFF0) == kOpenWorkbookCommand) OnOpenWorkbook();
  else if ((nID & 0xFFF0) == kSystemCommand) OnSystem();
  else if (OnCalcMethodCommand(nID & 0xFFF0)) return;
  else CDialog::OnSysCommand(nID, lParam);
}

void CLoadCalcDlg::OnPaint() {
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, RGB(160, 180, 220));
  const int x = (client.Width() - 32 + 1) / 2;
  const int y = (client.Height() - 32 + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HBRUSH CLoadCalcDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor != CTLCOLOR_LISTBOX) return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->SetBkColor(kListBackground);
  return static_cast<HBRUSH>(m_brListBackground);
}

BOOL CLoadCalcDlg::PreTranslateMessage(MSG* pMsg) {
  // The tip sees every message first: it shows on a resting mouse and hides
  // on a click or a key.
  m_tooltip.RelayMessage(pMsg);
  if (EnterCalculates(pMsg)) return TRUE;
  return CDialog::PreTranslateMessage(pMsg);
}

template <class Command>
void CLoadCalcDlg::RunCommand(Command command) {
  try {
    command();
  } catch (const CDBException& e) {
    AfxMessageBox(calc_text::UnexpectedFailure(calc_text::Reason(xls::MakeError(e.m_strError.str(), e.m_kind))));
  }
}

void CLoadCalcDlg::OnOK() {
  if (ConfirmDiscard()) ReadList();
}

bool CLoadCalcDlg::ReadList() {
  bool read = false;
  RunCommand([this, &read] { read = ReadCircuits(); });
  if (!read) return false;
  m_balancedPhases.reset();
  m_boardState.ListRead();
  m_bListFromWorkbook = true;
  AfterListEdited();
  if (const auto formulas = FindFormulaCells(m_circuits); !formulas.empty())
    AfxMessageBox(report::FormulaCellsWithoutValue(formulas));
  return true;
}

void CLoadCalcDlg::OnAbout() { ShowAboutBox(); }

void CLoadCalcDlg::ShowAboutBox() {
  CAboutDlg about;
  about.DoModal();
}

void CLoadCalcDlg::OnQuery() {}

void CLoadCalcDlg::OnCalc() {
  RunCommand([this] {
    // A formula without a value would be calculated as 0.
    if (const auto formulas = FindFormulaCells(m_circuits); !formulas.empty()) {
      AfxMessageBox(report::FormulaCellsWithoutValue(formulas));
      return;
    }
    CWaitCursor wait;
    if (!Calculate()) return;
    m_calculatedAt = std::time(nullptr);
    m_boardState.Calculated();
  });
}

void CLoadCalcDlg::OnAutoBalance() {
  bool calculated = false;
  RunCommand([this, &calculated] {
    BalanceSettings settings;
    settings.fewestMoves = m_bFewestMoves;
    calculated = AutoBalance(settings);
  });
  m_balanceProgress.reset();
  AfterBalance(calculated);
}

void CLoadCalcDlg::OnSave() {
  if (!ResultsCurrent()) {
    AfxMessageBox(calc_text::CalculateFirst());
    return;
  }
  // The name's ending chooses the format: .xlsx, or .xls for any other.
  const CString path = save_dialogs::AskTarget(SaveRequest(save_dialogs::Kind::Results), this);
  if (path.IsEmpty()) return;
  bool saved = false;
  RunCommand([this, &path, &saved] { saved = SaveResults(path); });
  if (!saved) return;
  m_boardState.Saved();
  m_listModel.RefreshPhaseMarks();
}

void CLoadCalcDlg::OnOpenWorkbook() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, Cp936(kWorkbookFilter), this);
  if (dialog.DoModal() != static_cast<int>(IDOK)) return;
  OpenWorkbook(dialog.GetPathName());
}

void CLoadCalcDlg::ChooseWorkbook(const CString& path) {
  SetWorkbookPath(path);
  m_bWorkbookChosen = true;
  UpdateTitle();
}

void CLoadCalcDlg::UpdateTitle() {
  if (!GetWidget()) return;  // the caption is set once the window exists
  const bool isDefault = GetWorkbookPath() == GetWorkbookFolder() + InputWorkbookName();
  // A leading "*" says the list holds changes the workbook does not.
  const CString title = isDefault ? m_strBaseTitle : m_strBaseTitle + " - " + FileNameOf(GetWorkbookPath());
  SetWindowText(HasUnwrittenEdits() ? "*" + title : title);
}

void CLoadCalcDlg::OnExportReport() {
  if (!report::HasCalculationResults(*this)) {
    AfxMessageBox(report::CalculateFirst());
    return;
  }
  const CString chosen = save_dialogs::AskTarget(SaveRequest(save_dialogs::Kind::Report), this);
  if (chosen.IsEmpty()) return;
  TargetRefusal refusal;
  const std::optional<CString> path = CheckReportTarget(chosen, GetWorkbookPath(), CString(), refusal);
  if (!path) {
    AfxMessageBox(calc_text::TargetRefused(chosen, refusal));
    return;
  }
  CWaitCursor wait;
  const xls::Status written =
      report_pdf::WriteReportPdf(report::BuildCalculationReport(*this, m_cbSwitch, ReportSource()), ToUtf8(*path));
  AfxMessageBox(written ? report::ReportWritten(*path) : report::ReportWriteFailed(*path, calc_text::Reason(written.error())));
}

void CLoadCalcDlg::RememberBalancing() {
  m_calculatedAt = std::time(nullptr);
  std::optional<report::PhaseRecord> phases = report::BalancedPhases(m_list, LastBalance());
  if (!phases) return;
  // A second balancing keeps the phases the workbook gave as "before".
  if (m_balancedPhases) phases->before = m_balancedPhases->before;
  m_balancedPhases = std::move(phases);
}

report::ReportSource CLoadCalcDlg::ReportSource() const {
  report::ReportSource source;
  source.workbookName = std::filesystem::path(ToUtf8(GetWorkbookPath())).filename().string();
  // Results without a recorded time came from a calculation that stopped
  // on an unreadable switch library; they are reported as of now.
  source.calculatedAt = m_calculatedAt != 0 ? m_calculatedAt : std::time(nullptr);
  source.balanced = m_balancedPhases;
  return source;
}

void CLoadCalcDlg::ShowMessage(const CString& text) { AfxMessageBox(text); }

void CLoadCalcDlg::BoardResultsCleared() {
  m_boardState.ResultsCleared();
  if (!GetWidget()) return;
  for (const int id : {IDC_UNBALANCE, IDC_CURRENT, IDC_L1, IDC_L2, IDC_L3, IDC_EQUIP_POWER, IDC_CALC_POWER})
    if (CWnd* field = GetDlgItem(id)) field->SetWindowText(FormatDialogFloat(0.0f));
  if (m_standardPanel) m_standardPanel->ShowResults(std::nullopt);
}

bool CLoadCalcDlg::OfferAlternative(const CString& refusal, const CString& question) {
  return AfxMessageBox(refusal + question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool CLoadCalcDlg::ContinueBalancing(double share) {
  if (!m_balanceProgress) m_balanceProgress = std::make_unique<CProgressWindow>(Cp936("正在进行自动平衡计算..."), this);
  return m_balanceProgress->Update(share);
}

void CLoadCalcDlg::ExchangeBoardData(bool saveAndValidate) {
  UpdateData(saveAndValidate);
  if (!m_standardPanel) return;
  // Results from before a refused calculation would be taken for its own.
  m_standardPanel->ShowResults(saveAndValidate ? std::nullopt : LastStandard());
  if (saveAndValidate && m_method == CalcMethod::Standard) {
    m_standardInputs = m_standardPanel->ReadInputs();
    RememberCalcMethod();
  }
}

void CLoadCalcDlg::BeginWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->BeginWaitCursor();
}

void CLoadCalcDlg::EndWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->EndWaitCursor();
}
