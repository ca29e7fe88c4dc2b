// The Qt widgets behind the program's windows. They hand painting to the
// CWnd bound to them: WM_ERASEBKGND and WM_PAINT for every window, DrawItem
// for an owner-drawn button, WM_NCPAINT for the border of an edit box. A
// handler that calls Default() gets the widget's own painting.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

class CWnd;

// A window made by CWnd::CreateEx.
class WindowWidget : public QWidget {
 public:
  explicit WindowWidget(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class PushButtonWidget : public QPushButton {
 public:
  explicit PushButtonWidget(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawOwnerDrawn(CWnd* wnd);
};

class EditWidget : public QLineEdit {
 public:
  explicit EditWidget(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Marks a widget as painting for the window DCs made meanwhile.
class PaintScope {
 public:
  explicit PaintScope(QWidget* widget);
  ~PaintScope();
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

 private:
  QWidget* m_previous;
};

// Erase (when asked for) and WM_PAINT to the object bound to the widget, in
// a PaintScope of the caller; true when the widget should paint itself.
bool PaintThroughWindow(QWidget* widget);

// The widget whose paint event is running (null outside painting); the
// window DCs paint on it.
QWidget* WidgetInPaint();

// The text a window shows: a button's caption, an edit's contents, a
// label's text, a combo box's current text, a window's title.
QString WidgetText(const QWidget* widget);
void SetWidgetText(QWidget* widget, const QString& text);
bool IsButtonWidget(const QWidget* widget);
