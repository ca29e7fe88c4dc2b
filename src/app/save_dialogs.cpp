#include "app/save_dialogs.h"

#include <QDir>
#include <QFileInfo>

#include "app/window_settings.h"
#include "calc/problem_texts.h"
#include "calc/results_target.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_text.h"
#include "report/report_messages.h"

namespace save_dialogs {

namespace {

QString KindKey(Kind kind) { return kind == Kind::Results ? QStringLiteral("results") : QStringLiteral("report"); }

bool IsXlsx(const QString& path) { return QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0; }

// Asks before an existing file is replaced; true when it may be.
bool MayReplace(const QString& path) {
  if (!QFileInfo::exists(path)) return true;
  const CString question = FromQString(QStringLiteral("“%1”已存在。\n要替换它吗？").arg(QFileInfo(path).fileName()));
  return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

QString ProposedName(const Request& request) {
  const QString board = QFileInfo(request.inputWorkbook).completeBaseName();
  if (request.kind == Kind::Report) {
    if (request.defaultWorkbook || board.isEmpty()) return ToQString(report::ReportDefaultName()) + QStringLiteral(".pdf");
    return board + QStringLiteral("-计算书.pdf");
  }
  if (request.defaultWorkbook || board.isEmpty()) return QStringLiteral("负荷计算结果.xls");
  return board + QStringLiteral("-负荷计算结果.") + (IsXlsx(request.inputWorkbook) ? QStringLiteral("xlsx") : QStringLiteral("xls"));
}

QString StartFolder(const Request& request) {
  const QString inputFolder = QFileInfo(request.inputWorkbook).absolutePath();
  if (!request.defaultWorkbook) return inputFolder;
  const QString last = window_settings::LoadLastFolder(KindKey(request.kind));
  return !last.isEmpty() && QDir(last).exists() ? last : inputFolder;
}

CString Filter(Kind kind) {
  return Cp936(kind == Kind::Results ? "Excel 工作簿|*.xls;*.xlsx||" : "PDF 文件|*.pdf||");
}

CString AskTarget(const Request& request, CWnd* parent) {
  const QString proposed = QDir(StartFolder(request)).filePath(ProposedName(request));
  const bool results = request.kind == Kind::Results;
  // The dialog's own replace question would come before the refusal of the input workbook.
  CFileDialog dialog(FALSE, results ? (IsXlsx(proposed) ? "xlsx" : "xls") : "pdf", FromQString(proposed),
                     OFN_HIDEREADONLY, Filter(request.kind), parent);
  if (dialog.DoModal() != static_cast<int>(IDOK)) return CString();
  const QString chosen = ToQString(dialog.GetPathName());
  window_settings::SaveLastFolder(KindKey(request.kind), QFileInfo(chosen).absolutePath());
  // The same checks as when the file is written, so the input workbook is
  // refused before any replace question.
  TargetRefusal refusal;
  const CString name = dialog.GetPathName();
  const CString input = FromQString(request.inputWorkbook);
  const bool allowed = results ? CheckResultsTarget(name, input, refusal).has_value()
                               : CheckReportTarget(name, input, CString(), refusal).has_value();
  if (!allowed) {
    AfxMessageBox(calc_text::TargetRefused(name, refusal));
    return CString();
  }
  if (!MayReplace(chosen)) return CString();
  return dialog.GetPathName();
}

}  // namespace save_dialogs
