// The main dialog's layout beyond its template: the window opens at the
// template's size and can be resized and maximised; the circuit list grows
// both ways, the results and inputs below it move down with its bottom
// edge, and the command buttons keep to the right edge. Smaller than the
// template (a small screen) the template's empty room goes first, then the
// list gives way and the buttons close up on the results beside them;
// nothing overlaps.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

class DialogLayout : public QObject {
 public:
  // Takes the controls' current places as the template's; `dialog` owns it.
  explicit DialogLayout(QWidget* dialog);

  QSize TemplateSize() const { return m_templateSize; }
  // The smallest size: the template's, or the screen's available client
  // room when that is smaller.
  QSize MinimumSizeOn(const QRect& available) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Anchor { Fixed, Grow, Down, DownRight };
  struct Placed {
    QWidget* control;
    QRect templateRect;
    Anchor anchor;
  };

  void Arrange();
  void SetTabOrder();
  // How far left of their template place the buttons may go.
  int ButtonGap() const;
  // The template's empty room beyond the list, the buttons and the lowest
  // control, its edge margin aside.
  struct Slack {
    int listRight, buttonsRight, bottom;
  };
  Slack RoomLeft() const;

  QWidget* m_dialog;
  QSize m_templateSize;
  std::vector<Placed> m_controls;
  QRect m_listTemplate;
  int m_buttonGap = 0;
  Slack m_slack{};
};

// The room a window's client area may take on a screen: its available area
// less a frame and title bar.
QSize ClientRoomOf(const QRect& available, const QWidget* window);
