// Adding sheets to a workbook package: each gets a new worksheet part, and
// the parts that list sheets are updated to match (the workbook part, its
// relationships, the content types and, when present, the application
// properties).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "workbook/result.h"
#include "xlsx/zip_package.h"

namespace xlsx {

struct NewSheet {
  std::u16string name;
  std::string part_xml;  // the worksheet part's content
};

// Puts the new and changed parts into `changed`, by part name.
xls::Status AddSheetParts(const ZipPackage& package, const std::string& workbook_part,
                          const std::vector<NewSheet>& sheets, std::map<std::string, std::string>& changed);

}  // namespace xlsx
