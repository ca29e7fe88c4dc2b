#include "sql/sql_lexer.h"

#include "sql/sql_text.h"
#include "workbook/number_cells.h"

namespace xls::sql {

namespace {

bool IsSpace(char16_t ch) { return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n'; }

bool IsWordCharacter(char16_t ch) {
  return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9') || ch == u'_';
}

bool IsSymbol(char16_t ch) { return ch == u'(' || ch == u')' || ch == u',' || ch == u'*' || ch == u';'; }

// Reads up to the closing delimiter, which stands for itself when doubled.
Result<Token> ReadDelimited(std::u16string_view text, size_t& pos, char16_t closing, TokenKind kind) {
  Token token{kind, {}};
  for (++pos; pos < text.size(); ++pos) {
    if (text[pos] != closing) {
      token.text += text[pos];
    } else if (pos + 1 < text.size() && text[pos + 1] == closing) {
      token.text += closing;
      ++pos;
    } else {
      ++pos;
      return token;
    }
  }
  const char* what = kind == TokenKind::Text ? "a value in apostrophes is not closed" : "a name in square brackets is not closed";
  return MakeError(std::string("Syntax error: ") + what, ErrorKind::Syntax);
}

bool IsDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

// A run starting with a digit, or a minus and a digit, reaches over word
// characters and points: a plain decimal is a number, a run of word
// characters alone a word ("A1", "1st"), anything else is refused.
Result<Token> ReadNumberOrWord(std::u16string_view text, size_t& pos) {
  const size_t start = pos;
  if (text[pos] == u'-') ++pos;
  while (pos < text.size() && (IsWordCharacter(text[pos]) || text[pos] == u'.')) ++pos;
  std::u16string run(text.substr(start, pos - start));
  if (IsPlainDecimal(run)) return Token{TokenKind::Number, std::move(run)};
  if (run.find_first_of(u"-.") == std::u16string::npos) return Token{TokenKind::Word, std::move(run)};
  return MakeError("Syntax error: " + Quoted(run) + " is no number", ErrorKind::Syntax);
}

}  // namespace

Result<std::vector<Token>> Tokenize(std::u16string_view text) {
  std::vector<Token> tokens;
  size_t pos = 0;
  while (pos < text.size()) {
    const char16_t ch = text[pos];
    if (IsSpace(ch)) {
      ++pos;
    } else if (ch == u'[' || ch == u'\'') {
      auto token = ReadDelimited(text, pos, ch == u'[' ? u']' : u'\'', ch == u'[' ? TokenKind::BracketName : TokenKind::Text);
      if (!token) return token.error();
      tokens.push_back(std::move(token.value()));
    } else if (IsSymbol(ch)) {
      tokens.push_back({TokenKind::Symbol, std::u16string(1, ch)});
      ++pos;
    } else if (IsDigit(ch) || (ch == u'-' && pos + 1 < text.size() && IsDigit(text[pos + 1]))) {
      auto token = ReadNumberOrWord(text, pos);
      if (!token) return token.error();
      tokens.push_back(std::move(token.value()));
    } else if (IsWordCharacter(ch)) {
      const size_t start = pos;
      while (pos < text.size() && IsWordCharacter(text[pos])) ++pos;
      tokens.push_back({TokenKind::Word, std::u16string(text.substr(start, pos - start))});
    } else {
      return MakeError("Syntax error: unexpected character " + Quoted(text.substr(pos, 1)), ErrorKind::Syntax);
    }
  }
  tokens.push_back({TokenKind::End, {}});
  return tokens;
}

}  // namespace xls::sql
