// What the dialog remembers between runs about how it calculates: the
// method, the fewest-moves balancing and 规范法's inputs. Kept in the user's
// settings (QSettings, an INI file under the user's configuration folder).
#pragma once

#include "calc/standard_method.h"

struct CalcMethodSettings {
  bool standard = false;     // 计算方法: 规范法 (else 原方法)
  bool fewestMoves = false;  // 自动平衡时尽量少移动回路
  StandardInputs inputs;
};

CalcMethodSettings LoadCalcMethodSettings();
void SaveCalcMethodSettings(const CalcMethodSettings& settings);
