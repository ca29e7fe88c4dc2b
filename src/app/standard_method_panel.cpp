#include "app/standard_method_panel.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>
#include <limits>

namespace {

constexpr int kGapBelowPixels = 8;

// Caption and unit of each result field, in display order.
struct ResultField {
  const char* caption;
  const char* unit;
};
const ResultField kResultFields[9] = {{"Pjs", "kW"},         {"Qjs", "kvar"},      {"Sjs", "kVA"},
                                      {"cosφ", ""},          {"Ijs", "A"},         {"补偿容量Qc", "kvar"},
                                      {"补偿后cosφ′", ""}, {"补偿后S′", "kVA"}, {"补偿后I′", "A"}};
constexpr int kFieldWidthPixels = 46;

QLineEdit* AddField(QGridLayout* grid, int row, int column, const QString& caption, const QString& unit,
                    bool readOnly) {
  auto* label = new QLabel(caption);
  auto* edit = new QLineEdit;
  edit->setReadOnly(readOnly);
  edit->setFixedWidth(kFieldWidthPixels);
  grid->addWidget(label, row, column * 3, Qt::AlignRight);
  grid->addWidget(edit, row, column * 3 + 1);
  if (!unit.isEmpty()) grid->addWidget(new QLabel(unit), row, column * 3 + 2);
  return edit;
}

QString Number(double value, int decimals) { return QString::number(value, 'f', decimals); }

double ReadNumber(const QLineEdit* edit) {
  bool ok = false;
  const double value = edit->text().trimmed().toDouble(&ok);
  return ok ? value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

StandardMethodPanel::StandardMethodPanel(QWidget* dialog, QWidget* above)
    : QObject(dialog), m_dialog(dialog), m_above(above), m_group(new QGroupBox(QStringLiteral("规范法计算结果"), dialog)) {
  m_group->setObjectName(QStringLiteral("standardMethodGroup"));
  // The same frame as the dialog's own groups.
  m_group->setStyleSheet(QStringLiteral(
      "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
      "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
      " left: 6px; top: 0px; padding: 0px 1px; }"));
  auto* grid = new QGridLayout(m_group);
  grid->setContentsMargins(6, 10, 6, 4);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(2);
  m_kp = AddField(grid, 0, 0, QStringLiteral("K∑p"), QString(), false);
  m_kq = AddField(grid, 0, 1, QStringLiteral("K∑q"), QString(), false);
  m_compensate = new QCheckBox(QStringLiteral("无功补偿"));
  grid->addWidget(m_compensate, 1, 7, 1, 2);
  m_target = AddField(grid, 1, 0, QStringLiteral("目标功率因数"), QString(), false);
  m_step = AddField(grid, 1, 1, QStringLiteral("电容器步长"), QStringLiteral("kvar"), false);
  for (int i = 0; i < 9; ++i)
    m_results[i] = AddField(grid, 2 + i / 3, i % 3, QString::fromUtf8(kResultFields[i].caption),
                            QString::fromUtf8(kResultFields[i].unit), true);
  m_kp->setObjectName(QStringLiteral("standardKp"));
  m_kq->setObjectName(QStringLiteral("standardKq"));
  m_target->setObjectName(QStringLiteral("standardTargetPowerFactor"));
  m_step->setObjectName(QStringLiteral("standardBankStep"));
  m_results[4]->setObjectName(QStringLiteral("standardCurrent"));
  m_results[5]->setObjectName(QStringLiteral("standardCompensation"));
  dialog->installEventFilter(this);
  Place();
  m_group->hide();
}

void StandardMethodPanel::SetVisible(bool visible) {
  Place();
  m_group->setVisible(visible);
}

void StandardMethodPanel::ShowInputs(const StandardInputs& inputs) {
  m_kp->setText(QString::number(inputs.kp));
  m_kq->setText(QString::number(inputs.kq));
  m_target->setText(QString::number(inputs.targetPowerFactor));
  m_step->setText(QString::number(inputs.bankStep));
  m_compensate->setChecked(inputs.compensate);
}

StandardInputs StandardMethodPanel::ReadInputs() const {
  return {ReadNumber(m_kp), ReadNumber(m_kq), ReadNumber(m_target), ReadNumber(m_step), m_compensate->isChecked()};
}

void StandardMethodPanel::ShowResults(const std::optional<StandardBoardResult>& board) {
  if (!board) {
    for (QLineEdit* field : m_results) field->clear();
    return;
  }
  const StandardTotals& t = board->totals;
  const double values[9] = {t.pjs, t.qjs, t.sjs, t.powerFactor, t.current,
                            t.compensation, t.powerFactorAfter, t.sAfter, t.currentAfter};
  const int decimals[9] = {3, 3, 3, 3, 2, 1, 3, 3, 2};
  for (int i = 0; i < 9; ++i) m_results[i]->setText(Number(values[i], decimals[i]));
}

bool StandardMethodPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_dialog && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) Place();
  return QObject::eventFilter(watched, event);
}

// Below the group above it, as wide as the room to the dialog's right
// buttons allows; the window grows when the group would not fit.
void StandardMethodPanel::Place() {
  const QRect above = m_above ? m_above->geometry() : QRect(8, 8, 400, 80);
  const int top = above.bottom() + kGapBelowPixels;
  const int height = m_group->sizeHint().height();
  const int width = above.width();
  m_group->setGeometry(above.left(), top, width, height);
}
