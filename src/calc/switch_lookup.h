// The switch lookup on any workbook's "开关型号库": the models whose
// ratings reach trunc(current × 1.1 + 1), each followed by ";", in library
// order. The library is only read, never given a backup sheet.
#pragma once

#include <optional>

#include "platform/text/cstring.h"
#include "workbook/result.h"

// Empty, with `failure` saying why, when the library cannot be read: an
// unreadable library is not one in which no switch fits.
std::optional<CString> FindSwitchesIn(const CString& workbook, float current, xls::Error& failure);
