#include "sql/sql_text.h"

#include "workbook/unicode_text.h"

namespace xls::sql {

std::string ToUtf8Text(std::u16string_view text) { return Utf16ToUtf8(text); }

std::string Quoted(std::u16string_view text) { return "'" + ToUtf8Text(text) + "'"; }

char16_t FoldAscii(char16_t ch) { return (ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - u'a' + u'A') : ch; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace xls::sql
