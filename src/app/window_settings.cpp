#include "app/window_settings.h"

#include <QSettings>
#include <QStandardPaths>
#include <memory>

namespace window_settings {

namespace {

std::unique_ptr<QSettings> Open() { return std::make_unique<QSettings>(SettingsFile(), QSettings::IniFormat); }

}  // namespace

QString SettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/volmira/loadcalc.ini");
}

std::optional<Placement> LoadPlacement() {
  const std::unique_ptr<QSettings> settings = Open();
  const QRect frame = settings->value(QStringLiteral("window/frame")).toRect();
  if (!frame.isValid()) return std::nullopt;
  return Placement{frame, settings->value(QStringLiteral("window/maximised"), false).toBool()};
}

void SavePlacement(const Placement& placement) {
  const std::unique_ptr<QSettings> settings = Open();
  settings->setValue(QStringLiteral("window/frame"), placement.frame);
  settings->setValue(QStringLiteral("window/maximised"), placement.maximised);
}

QMap<QString, int> LoadColumnWidths() {
  const std::unique_ptr<QSettings> settings = Open();
  settings->beginGroup(QStringLiteral("columns"));
  QMap<QString, int> widths;
  for (const QString& key : settings->childKeys()) {
    bool ok = false;
    const int width = settings->value(key).toInt(&ok);
    if (ok && width > 0) widths.insert(key, width);
  }
  return widths;
}

void SaveColumnWidths(const QMap<QString, int>& widths) {
  const std::unique_ptr<QSettings> settings = Open();
  settings->beginGroup(QStringLiteral("columns"));
  for (auto it = widths.begin(); it != widths.end(); ++it) settings->setValue(it.key(), it.value());
}

bool LoadAlwaysOnTop() { return Open()->value(QStringLiteral("window/alwaysOnTop"), true).toBool(); }

void SaveAlwaysOnTop(bool onTop) { Open()->setValue(QStringLiteral("window/alwaysOnTop"), onTop); }

QString LoadLastFolder(const QString& kind) {
  return Open()->value(QStringLiteral("folders/") + kind).toString();
}

void SaveLastFolder(const QString& kind, const QString& folder) {
  Open()->setValue(QStringLiteral("folders/") + kind, folder);
}

}  // namespace window_settings
