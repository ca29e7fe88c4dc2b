// The parts of a new workbook package before any sheet is added: content
// types, the package and workbook relationships, an empty sheet list and
// the one cell style every sheet needs.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace xlsx {

std::vector<std::pair<std::string, std::string>> NewPackageParts();

}  // namespace xlsx
