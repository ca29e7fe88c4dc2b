// Row texts in their quoted form: every value in quotation marks, a
// quotation mark inside a value doubled, the separator between values. Line
// breaks stay inside the quotation marks, so one row may span several lines
// of a text file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace row_text {

std::string Quote(std::string_view value);

enum class Form {
  Quoted,      // the whole text is in the quoted form; the values are set
  OpenQuote,   // the text so far is in that form but stops inside a value
  NotQuoted,   // another form: another program's row, or one written before values were escaped
};

Form Split(std::string_view text, std::string_view separator, std::vector<std::string>& values);

// The rows of a text file: lines end at "\r\n", "\n" or "\r", except inside
// a quoted value, whose line breaks are kept. A line whose quotation mark is
// never closed stays a line of its own.
std::vector<std::string> SplitLines(std::string_view file, std::string_view separator);

}  // namespace row_text
