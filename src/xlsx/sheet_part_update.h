// Changed cells written into a worksheet part as stored: only the <row> and
// <c> elements that change are written anew (and the merged ranges and the
// dimension when rows move); every other byte of the part stays. Texts go
// in as inline strings, so the shared strings part is not touched.
#pragma once

#include <string>
#include <string_view>

#include "workbook/result.h"
#include "workbook/sheet_update.h"

namespace xlsx {

// `xml` is the part as UTF-8 text; `part` names it in error texts.
xls::Result<std::string> UpdateSheetXml(std::string_view xml, const xls::SheetUpdate& update, const std::string& part);

// Whether any element of the part has this local name (a formula "f" in a
// worksheet, a "definedName" in the workbook part).
xls::Result<bool> XmlHoldsElement(std::string_view xml, std::string_view local, const std::string& part);

}  // namespace xlsx
