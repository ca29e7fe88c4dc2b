#include "app/system_window.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <ctime>
#include <filesystem>

#include "calc/calc_texts.h"
#include "calc/problem_texts.h"
#include "calc/system_results_workbook.h"
#include "calc/system_texts.h"
#include "platform/text/encoding.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_text.h"
#include "report/system_report.h"
#include "report_pdf/system_report_pdf.h"

namespace {

namespace fs = std::filesystem;

const QColor kListBackground(233, 233, 220);
constexpr int kFieldWidthPixels = 70;

QString Q(const CString& text) { return ToQString(text); }
QString Number(double value, int decimals) { return QString::number(value, 'f', decimals); }

struct Field {
  const char* name;
  const char* caption;
  const char* unit;
};

// The group's fields, three to a row.
QGroupBox* FieldGroup(const QString& title, std::initializer_list<Field> fields, std::map<std::string, QLineEdit*>& out) {
  auto* group = new QGroupBox(title);
  group->setStyleSheet(QStringLiteral(
      "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
      "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0px 1px; }"));
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 10, 6, 4);
  int i = 0;
  for (const Field& field : fields) {
    auto* edit = new QLineEdit;
    edit->setReadOnly(true);
    edit->setFixedWidth(kFieldWidthPixels);
    edit->setObjectName(QString::fromUtf8(field.name));
    grid->addWidget(new QLabel(QString::fromUtf8(field.caption)), i / 3, (i % 3) * 3, Qt::AlignRight);
    grid->addWidget(edit, i / 3, (i % 3) * 3 + 1);
    grid->addWidget(new QLabel(QString::fromUtf8(field.unit)), i / 3, (i % 3) * 3 + 2);
    out[field.name] = edit;
    ++i;
  }
  return group;
}

long long ModifiedAt(const CString& path) {
  std::error_code error;
  const auto time = fs::last_write_time(ToUtf8(path), error);
  return error ? -1 : static_cast<long long>(time.time_since_epoch().count());
}

}  // namespace

SystemWindow::SystemWindow(QWidget* parent, const CString& systemWorkbook, OpenBoard openBoard)
    : QDialog(parent), m_path(systemWorkbook), m_openBoard(std::move(openBoard)) {
  setWindowTitle(QStringLiteral("配电系统 - ") + QString::fromStdString(fs::path(ToUtf8(m_path)).filename().string()));
  setObjectName(QStringLiteral("systemWindow"));
  BuildLayout();
  resize(760, 560);
  Recalculate();
}

void SystemWindow::BuildLayout() {
  auto* layout = new QVBoxLayout(this);
  m_boards = new QTableWidget(0, 9);
  m_boards->setObjectName(QStringLiteral("systemBoards"));
  m_boards->setHorizontalHeaderLabels({QStringLiteral("配电箱编号"), QStringLiteral("Pe(kW)"), QStringLiteral("Pjs(kW)"),
                                       QStringLiteral("Qjs(kvar)"), QStringLiteral("Sjs(kVA)"), QStringLiteral("cosφ"),
                                       QStringLiteral("Ijs(A)"), QStringLiteral("开关"), QStringLiteral("备注")});
  m_boards->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_boards->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_boards->verticalHeader()->hide();
  m_boards->horizontalHeader()->setStretchLastSection(true);
  QPalette palette = m_boards->palette();
  palette.setColor(QPalette::Base, kListBackground);
  m_boards->setPalette(palette);
  connect(m_boards, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (row >= 0 && static_cast<size_t>(row) < m_result.boards.size() && m_openBoard)
      m_openBoard(m_result.boards[static_cast<size_t>(row)].row.path);
  });
  layout->addWidget(m_boards, 1);

  m_problems = new QLabel;
  m_problems->setObjectName(QStringLiteral("systemProblems"));
  m_problems->setStyleSheet(QStringLiteral("color: #a00000;"));
  m_problems->setWordWrap(true);
  layout->addWidget(m_problems);

  layout->addWidget(FieldGroup(QStringLiteral("母线计算结果"),
                               {{"boardsP", "ΣPjs", "kW"},
                                {"boardsQ", "ΣQjs", "kvar"},
                                {"busbarKp", "K∑p / K∑q", ""},
                                {"busbarP", "Pjs", "kW"},
                                {"busbarQ", "Qjs", "kvar"},
                                {"busbarS", "Sjs", "kVA"},
                                {"busbarPowerFactor", "cosφ", ""},
                                {"busbarCurrent", "Ijs", "A"},
                                {"mainSwitch", "总开关", ""}},
                               m_fields));
  auto* row = new QHBoxLayout;
  row->addWidget(FieldGroup(QStringLiteral("无功补偿"),
                            {{"compensation", "Qc", "kvar"},
                             {"powerFactorAfter", "cosφ′", ""},
                             {"sAfter", "S′", "kVA"},
                             {"currentAfter", "I′", "A"}},
                            m_fields));
  row->addWidget(FieldGroup(QStringLiteral("变压器"),
                            {{"transformer", "容量", "kVA"},
                             {"transformerCount", "台数", ""},
                             {"loadRateBefore", "负荷率(补偿前)", "%"},
                             {"loadRate", "负荷率", "%"}},
                            m_fields));
  layout->addLayout(row);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  const std::pair<const char*, std::function<void()>> actions[] = {
      {"重新计算", [this] { Recalculate(); }},
      {"保存结果…", [this] { SaveResults(); }},
      {"导出计算书…", [this] { ExportReport(); }},
      {"关闭", [this] { close(); }}};
  for (const auto& [caption, action] : actions) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    connect(button, &QPushButton::clicked, this, action);
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
}

void SystemWindow::Recalculate() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_result = CalculateSystem(m_path);
  m_readTimes = WorkbookTimes();
  QApplication::restoreOverrideCursor();
  ShowResult();
}

std::map<std::string, long long> SystemWindow::WorkbookTimes() const {
  std::map<std::string, long long> times = {{ToUtf8(m_path), ModifiedAt(m_path)}};
  // The boards that could not be calculated too: mending one on disk counts.
  for (const SystemBoardRow& row : m_result.rows) times[ToUtf8(row.path)] = ModifiedAt(row.path);
  return times;
}

void SystemWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) RefreshIfChanged();
}

bool SystemWindow::RefreshIfChanged() {
  if (WorkbookTimes() == m_readTimes) return false;
  Recalculate();
  return true;
}

void SystemWindow::ShowResult() {
  ShowBoards();
  ShowBusbar();
  m_problems->setText(m_result.problems.empty() ? QString() : Q(system_text::ProblemsMessage(m_result.problems)));
  m_problems->setVisible(!m_result.problems.empty());
}

void SystemWindow::ShowBoards() {
  m_boards->setRowCount(static_cast<int>(m_result.boards.size()));
  for (size_t i = 0; i < m_result.boards.size(); ++i) {
    const SystemBoardResult& b = m_result.boards[i];
    const StandardTotals& t = b.board.totals;
    const QString cells[9] = {Q(b.row.name),          Number(b.installedPower, 2), Number(t.pjs, 2),
                              Number(t.qjs, 2),       Number(t.sjs, 2),            Number(t.powerFactor, 3),
                              Number(t.current, 1),   Q(b.SelectedSwitch()),       Q(b.row.remark)};
    for (int column = 0; column < 9; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column > 0 && column < 7) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_boards->setItem(static_cast<int>(i), column, item);
    }
  }
  m_boards->resizeColumnsToContents();
}

// An incomplete system shows no busbar figures: they would not be the building's.
void SystemWindow::ShowBusbar() {
  for (auto& [name, field] : m_fields) field->clear();
  if (!m_result.Complete()) return;
  const BusbarResult& bus = *m_result.busbar;
  const StandardTotals& t = bus.totals;
  const TransformerChoice& tx = bus.transformer;
  const SystemInputs& in = m_result.inputs;
  const std::pair<const char*, QString> values[] = {
      {"boardsP", Number(bus.boardsP, 1)},
      {"boardsQ", Number(bus.boardsQ, 1)},
      {"busbarKp", Number(in.busbar.kp, 2) + " / " + Number(in.busbar.kq, 2)},
      {"busbarP", Number(t.pjs, 1)},
      {"busbarQ", Number(t.qjs, 1)},
      {"busbarS", Number(t.sjs, 1)},
      {"busbarPowerFactor", Number(t.powerFactor, 3)},
      {"busbarCurrent", Number(t.current, 1)},
      {"mainSwitch", m_result.mainSwitches.empty() ? QStringLiteral("无") : Q(m_result.mainSwitches.front())},
      {"compensation", Number(t.compensation, 0)},
      {"powerFactorAfter", Number(t.powerFactorAfter, 3)},
      {"sAfter", Number(t.sAfter, 1)},
      {"currentAfter", Number(t.currentAfter, 1)},
      {"transformer", tx.rating ? Number(*tx.rating, 0) : QStringLiteral("无")},
      {"transformerCount", QString::number(tx.count)},
      {"loadRateBefore", Number(tx.loadRateBefore * 100, 1)},
      {"loadRate", Number(tx.loadRate * 100, 1)}};
  for (const auto& [name, text] : values) m_fields[name]->setText(text);
}

// Asks for the file, writes it under the wait cursor and says how it went;
// `write` gives the error text, empty when written.
void SystemWindow::WriteFile(const char* extension, const char* name, const char* filter,
                             const std::function<CString(const CString& path)>& write) {
  if (!m_result.Complete()) {
    AfxMessageBox(system_text::ProblemsMessage(m_result.problems));
    return;
  }
  CFileDialog dialog(FALSE, extension, FromUtf8(name), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, FromUtf8(filter));
  if (dialog.DoModal() != static_cast<int>(IDOK)) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const CString error = write(dialog.GetPathName());
  QApplication::restoreOverrideCursor();
  AfxMessageBox(error.IsEmpty() ? calc_text::WriteSucceeded() : calc_text::WriteFailed(dialog.GetPathName(), error));
}

void SystemWindow::SaveResults() {
  WriteFile("xls", "配电系统计算结果", "工作簿 (*.xls *.xlsx)|*.xls;*.xlsx||", [this](const CString& path) {
    CString error;
    return SaveSystemResults(m_result, path, error) ? CString() : (error.IsEmpty() ? CString("write failed") : error);
  });
}

void SystemWindow::ExportReport() {
  WriteFile("pdf", "配电系统计算书", "PDF (*.pdf)|*.pdf||", [this](const CString& path) {
    const xls::Status written =
        report_pdf::WriteSystemReportPdf(report::BuildSystemReport(m_result, std::time(nullptr)), ToUtf8(path));
    return written ? CString() : calc_text::Reason(written.error());
  });
}
