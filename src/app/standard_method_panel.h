// The group of 规范法 below the balance results: its four inputs, the
// compensation switch and the board's figures by the design code. It is
// shown only while 规范法 is the method.
#pragma once

#include <QObject>
#include <optional>

#include "calc/standard_method.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QWidget;

class StandardMethodPanel : public QObject {
 public:
  // `dialog` is the main dialog's widget; `above` the group it goes below.
  StandardMethodPanel(QWidget* dialog, QWidget* above);

  void SetVisible(bool visible);
  void ShowInputs(const StandardInputs& inputs);
  // A field that is not a number reads as NaN, which the calculation refuses
  // with the name of the input.
  StandardInputs ReadInputs() const;
  // Empty fields when there are no results.
  void ShowResults(const std::optional<StandardBoardResult>& board);

  QGroupBox* Group() const { return m_group; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Place();

  QWidget* m_dialog;
  QWidget* m_above;
  QGroupBox* m_group;
  QLineEdit* m_kp;
  QLineEdit* m_kq;
  QLineEdit* m_target;
  QLineEdit* m_step;
  QCheckBox* m_compensate;
  QLineEdit* m_results[9];
};
