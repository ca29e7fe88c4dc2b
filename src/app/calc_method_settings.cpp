#include "app/calc_method_settings.h"

#include <QSettings>

#include "app/window_settings.h"

namespace {

class Store : public QSettings {
 public:
  // Beside the window's own settings, in one file.
  Store() : QSettings(window_settings::SettingsFile(), QSettings::IniFormat) {}
};

// A stored value outside its range falls back to the default, so a damaged
// file never starts the dialog with an input the calculation refuses.
double Stored(const QSettings& store, const char* key, double fallback) {
  bool ok = false;
  const double value = store.value(key, fallback).toDouble(&ok);
  return ok ? value : fallback;
}

}  // namespace

CalcMethodSettings LoadCalcMethodSettings() {
  const Store store;
  CalcMethodSettings settings;
  settings.standard = store.value("calculation/method").toString() == "standard";
  settings.fewestMoves = store.value("balancing/fewestMoves", false).toBool();
  StandardInputs inputs;
  inputs.kp = Stored(store, "standard/kp", inputs.kp);
  inputs.kq = Stored(store, "standard/kq", inputs.kq);
  inputs.targetPowerFactor = Stored(store, "standard/targetPowerFactor", inputs.targetPowerFactor);
  inputs.bankStep = Stored(store, "standard/bankStep", inputs.bankStep);
  inputs.compensate = store.value("standard/compensate", true).toBool();
  if (CheckStandardInputs(inputs) == StandardInputProblem::None) settings.inputs = inputs;
  return settings;
}

void SaveCalcMethodSettings(const CalcMethodSettings& settings) {
  Store store;
  store.setValue("calculation/method", settings.standard ? "standard" : "original");
  store.setValue("balancing/fewestMoves", settings.fewestMoves);
  store.setValue("standard/kp", settings.inputs.kp);
  store.setValue("standard/kq", settings.inputs.kq);
  store.setValue("standard/targetPowerFactor", settings.inputs.targetPowerFactor);
  store.setValue("standard/bankStep", settings.inputs.bankStep);
  store.setValue("standard/compensate", settings.inputs.compensate);
}
