// XML parts may be stored as UTF-16 (with or without a byte-order mark) as
// well as UTF-8. A part to be changed is turned into UTF-8 for the edit and
// back into its own encoding afterwards, so the bytes outside the change
// stay as they were and the part still says truthfully how it is encoded.
#pragma once

#include <string>
#include <string_view>

#include "workbook/result.h"

namespace xlsx {

class EditablePart {
 public:
  // Refused when the part is in an encoding the program cannot write back
  // (a declared single-byte encoding other than UTF-8), or is not valid in
  // its own encoding; `part` names it in the error text.
  static xls::Result<EditablePart> Decode(std::string_view stored, const std::string& part);

  // The part as UTF-8 text that parses as UTF-8 whatever it declared.
  const std::string& text() const { return m_text; }
  // `edited` (a changed text()) in the part's own encoding.
  std::string Encode(std::string_view edited) const;

 private:
  enum class Encoding { Utf8, Utf16LittleEndian, Utf16BigEndian };
  Encoding m_encoding = Encoding::Utf8;
  std::string m_mark;              // the byte-order mark as stored, if any
  std::string m_declaration;       // the XML declaration as stored (in UTF-8), when replaced in text()
  std::string m_text;
};

}  // namespace xlsx
