// The parts of a new workbook package before any sheet is added: content
// types, the package and workbook relationships, an empty sheet list and
// the one cell style every sheet needs.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace xlsx {

// A macro-enabled workbook (.xlsm) declares its main part as such, or the
// spreadsheet programs refuse the name.
std::vector<std::pair<std::string, std::string>> NewPackageParts(bool macro_enabled);

}  // namespace xlsx
