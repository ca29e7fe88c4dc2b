// What the window keeps between starts: its place and size, the list's
// column widths, whether it stays on top, and the folders last used for
// results and reports. Kept with QSettings in an INI file in the user's
// configuration folder ($XDG_CONFIG_HOME), read when asked, so a test can
// point the folder elsewhere before it makes a dialog.
#pragma once

#include <QMap>
#include <QRect>
#include <QString>
#include <optional>

class QWidget;

namespace window_settings {

struct Placement {
  QRect frame;  // the window's outer top-left and its client size
  bool maximised = false;
};

// The file the settings live in.
QString SettingsFile();

std::optional<Placement> LoadPlacement();
void SavePlacement(const Placement& placement);

// Column widths by column caption; a caption not held is not in the map.
QMap<QString, int> LoadColumnWidths();
void SaveColumnWidths(const QMap<QString, int>& widths);

bool LoadAlwaysOnTop();  // true when never set
void SaveAlwaysOnTop(bool onTop);

// The folder last used for a kind of file ("results", "report"); empty if none.
QString LoadLastFolder(const QString& kind);
void SaveLastFolder(const QString& kind, const QString& folder);

}  // namespace window_settings
