// The application properties part (docProps/app.xml) lists the sheets by
// title and counts them; adding sheets keeps both in step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbook/result.h"

namespace xlsx {

// The part with `names` appended to the worksheet titles and their count
// raised; a part without a worksheet group comes back unchanged.
xls::Result<std::string> AddSheetTitles(std::string_view xml, const std::vector<std::u16string>& names);

}  // namespace xlsx
