// Small text helpers of the SQL driver: its statements and names are UTF-16,
// its error texts UTF-8 (the odbc layer turns them into the program's texts).
#pragma once

#include <string>
#include <string_view>

namespace xls::sql {

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8Text(std::u16string_view text);
// Quoted for an error text: 'name'.
std::string Quoted(std::u16string_view text);

char16_t FoldAscii(char16_t ch);
// Equal without regard to the case of the letters A-Z.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace xls::sql
