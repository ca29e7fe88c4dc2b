// What a widget carries for the window system: its control id, its styles,
// the width of the border it draws around its client area, and the CWnd
// bound to it. Kept on the widget so that every object wrapping the same
// widget agrees.
#pragma once

#include <vector>

#include "platform/ui/win_types.h"

class QWidget;

namespace window_props {

int Id(const QWidget* widget);
void SetId(QWidget* widget, int id);
DWORD Style(const QWidget* widget);
void SetStyle(QWidget* widget, DWORD style);
DWORD ExStyle(const QWidget* widget);
void SetExStyle(QWidget* widget, DWORD exStyle);
int BorderWidth(const QWidget* widget);
void SetBorderWidth(QWidget* widget, int width);
// The object bound by SubclassWindow or CreateEx (not a wrapper); null if none.
CWnd* BoundWindow(const QWidget* widget);
void SetBoundWindow(QWidget* widget, CWnd* wnd);
// The place of a control in its dialog's template (the window order).
void SetOrder(QWidget* widget, int order);
// The direct child windows in window order: template controls first, in
// template order, then the others as Qt holds them (stacking changes Qt's order).
std::vector<QWidget*> ChildrenInOrder(const QWidget* parent);
// The first direct child with the control id, or null.
QWidget* ChildById(const QWidget* parent, int id);

}  // namespace window_props
