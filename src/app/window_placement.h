// Where the main window opens and how it stays: at the place and size it
// had when it last closed, if that place is on a screen that still exists,
// else centred at the template's size; never larger than the screen's
// available room. What it was is written back when the window closes.
#pragma once

#include <QObject>

#include "app/window_settings.h"

class DialogLayout;
class ListColumns;
class QWidget;

namespace window_placement {

// Sizes and places a window not yet shown.
void Restore(QWidget* window, const DialogLayout& layout, const std::optional<window_settings::Placement>& saved);
window_settings::Placement Current(const QWidget* window);
// Keeps the window above all others, or lets others cover it; a shown
// window stays shown (and a modal dialog running).
void SetAlwaysOnTop(QWidget* window, bool onTop);

}  // namespace window_placement

// Writes the window's placement and the chosen column widths whenever the
// window is hidden (closed, or its dialog ended).
class PlacementKeeper : public QObject {
 public:
  PlacementKeeper(QWidget* window, const ListColumns* columns);
  void SaveNow() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_window;
  const ListColumns* m_columns;
};
