// Texts between the XML parts (UTF-8) and the workbook's cells (UTF-16).
#pragma once

#include <string>
#include <string_view>

namespace xlsx {

// Invalid UTF-8 becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Cell texts carry characters XML cannot hold as _xHHHH_; a literal "_x" that
// would read as such an escape is itself written as _x005F_x.
std::u16string DecodeCellEscapes(std::u16string_view text);
// For element content and attribute values in double quotes.
std::string EscapeXml(std::u16string_view text);

}  // namespace xlsx
