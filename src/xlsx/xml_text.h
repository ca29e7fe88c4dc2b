// Texts between the XML parts (UTF-8) and the workbook's cells (UTF-16).
#pragma once

#include <string>
#include <string_view>

#include "workbook/unicode_text.h"

namespace xlsx {

using xls::Utf16ToUtf8;
using xls::Utf8ToUtf16;

// Cell texts carry characters XML cannot hold as _xHHHH_; a literal "_x" that
// would read as such an escape is itself written as _x005F_x.
std::u16string DecodeCellEscapes(std::u16string_view text);
// For element content and attribute values in double quotes.
std::string EscapeXml(std::u16string_view text);

}  // namespace xlsx
