// A frame in the highlight colour drawn over a widget's border while that
// widget has the keyboard focus: the circuit list shows its focus even
// before it has a current row. It takes no mouse and no focus itself.
#pragma once

#include <QWidget>

class FocusFrame : public QWidget {
  Q_OBJECT

 public:
  // A sibling of `watched`, in the same parent.
  explicit FocusFrame(QWidget* watched);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Follow();
  QWidget* m_watched;
};
