// UTF-8 and UTF-16 for the workbook formats: BIFF8 stores UTF-16, the XML
// parts of an .xlsx and the driver's error texts are UTF-8. Malformed input
// (a lone surrogate, a broken sequence) becomes U+FFFD instead of failing,
// so a damaged name can still be shown in an error text.
#pragma once

#include <string>
#include <string_view>

namespace xls {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace xls
