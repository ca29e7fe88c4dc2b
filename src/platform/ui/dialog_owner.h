// Which window a new dialog belongs to. A dialog opened without an owner
// would be a window of its own and could open beneath the program's main
// window, which is kept above all others; an owned one opens above it.
#pragma once

class CWnd;
class QWidget;

// The widget of `parent`; without one, the program's main window (unless
// that is `self`, the dialog being made); otherwise null.
QWidget* DialogOwnerWidget(const CWnd* parent, const CWnd* self = nullptr);

// A dialog whose owner is kept above all other windows is kept there too.
// Call before the dialog is shown.
void KeepAboveOwner(QWidget* dialog);

// DialogOwnerWidget, or else the active window: for Qt's own dialogs and
// message boxes, which may open before the main window exists.
QWidget* OwnerOrActiveWindow(const CWnd* parent);
