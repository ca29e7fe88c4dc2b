// Changes to an XML part made where the parser found the elements, so every
// byte outside the change stays as the part had it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "workbook/result.h"

namespace xlsx {

// Puts the text `make(prefix)` at the end of the first element named
// `local`; `prefix` is that element's namespace prefix as written ("" for
// the default namespace), so that new children can be written alike.
xls::Result<std::string> AppendToElement(std::string_view xml, std::string_view local,
                                         const std::function<std::string(std::string_view prefix)>& make,
                                         const std::string& part);

}  // namespace xlsx
