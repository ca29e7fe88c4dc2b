// Splits a statement of the workbook driver into tokens: words (keywords,
// plain names), numbers written as the program writes them ("12", "-0.5",
// "1.080000"), names in square brackets ("]]" stands for "]"), values in
// apostrophes ("''" stands for an apostrophe) and the symbols ( ) , * ;
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbook/result.h"

namespace xls::sql {

enum class TokenKind { Word, Number, BracketName, Text, Symbol, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::u16string text;  // a bracket name or text without its delimiters and with escapes resolved
};

Result<std::vector<Token>> Tokenize(std::u16string_view statement);

}  // namespace xls::sql
