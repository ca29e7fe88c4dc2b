#include "sql/sql_statement.h"

#include "sql/sql_lexer.h"
#include "sql/sql_text.h"

namespace xls::sql {

namespace {

Error SyntaxError(const std::string& what) { return MakeError("Syntax error: " + what, ErrorKind::Syntax); }

// Parses "A1:IV<row>" (letters in either case) into the last row.
Result<int> ParseRange(std::u16string_view range) {
  const Error unsupported = SyntaxError("unsupported range " + Quoted(range) + "; a sheet range runs from A1 to IV<row>");
  if (range.size() < 6 || !EqualsIgnoringCase(range.substr(0, 5), u"A1:IV")) return unsupported;
  long row = 0;
  for (char16_t ch : range.substr(5)) {
    if (ch < u'0' || ch > u'9' || row > kSheetRows) return unsupported;
    row = row * 10 + (ch - u'0');
  }
  if (row < 1 || row > kSheetRows) return unsupported;
  return static_cast<int>(row);
}

bool IsLengthFrom1To255(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 3) return false;
  int value = 0;
  for (char16_t ch : digits) {
    if (ch < u'0' || ch > u'9') return false;
    value = value * 10 + (ch - u'0');
  }
  return value >= 1 && value <= 255;
}

Result<TableRef> MakeTableRef(const std::u16string& name) {
  TableRef ref;
  const size_t dollar = name.rfind(u'$');
  if (dollar == std::u16string::npos) {
    ref.sheet = name;
  } else {
    ref.sheet = name.substr(0, dollar);
    ref.isRange = true;
    if (dollar + 1 < name.size()) {
      auto row = ParseRange(std::u16string_view(name).substr(dollar + 1));
      if (!row) return row.error();
      ref.lastRow = row.value();
    }
  }
  if (ref.sheet.empty()) return SyntaxError("the table name is empty");
  return ref;
}

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

  Result<Statement> ParseAll() {
    auto statement = ParseOne();
    if (!statement) return statement;
    AcceptSymbol(u';');
    if (Peek().kind != TokenKind::End) return SyntaxError("unexpected text after the end of the statement");
    return statement;
  }

 private:
  const Token& Peek() const { return m_tokens[m_pos]; }
  const Token& Next() { return m_tokens[m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos]; }

  bool AcceptKeyword(std::u16string_view word) {
    if (Peek().kind != TokenKind::Word || !EqualsIgnoringCase(Peek().text, word)) return false;
    ++m_pos;
    return true;
  }
  bool AcceptSymbol(char16_t symbol) {
    if (Peek().kind != TokenKind::Symbol || Peek().text[0] != symbol) return false;
    ++m_pos;
    return true;
  }
  Status ExpectKeyword(std::u16string_view word) {
    if (AcceptKeyword(word)) return Ok{};
    return SyntaxError("expected " + ToUtf8Text(word));
  }
  Status ExpectSymbol(char16_t symbol) {
    if (AcceptSymbol(symbol)) return Ok{};
    return SyntaxError("expected \"" + ToUtf8Text(std::u16string(1, symbol)) + "\"");
  }

  // A plain name may be all digits, which the lexer reads as a number.
  Result<std::u16string> ParseName(const char* what) {
    const TokenKind kind = Peek().kind;
    if (kind != TokenKind::BracketName && kind != TokenKind::Word && kind != TokenKind::Number)
      return SyntaxError(std::string("expected ") + what);
    return Next().text;
  }

  Result<TableRef> ParseTable() {
    auto name = ParseName("a table name");
    if (!name) return name.error();
    return MakeTableRef(name.value());
  }

  Result<TableRef> ParseSheetRange(const char* statement) {
    auto table = ParseTable();
    if (table && !table->isRange) {
      return SyntaxError(std::string(statement) + " needs a sheet range such as [" + ToUtf8Text(table->sheet) + "$A1:IV65536]");
    }
    return table;
  }

  Result<Statement> ParseOne() {
    if (AcceptKeyword(u"SELECT")) return ParseSelect();
    if (AcceptKeyword(u"DROP")) return ParseDrop();
    if (AcceptKeyword(u"CREATE")) return ParseCreate();
    if (AcceptKeyword(u"INSERT")) return ParseInsert();
    return SyntaxError("the statement must begin with SELECT, CREATE TABLE, DROP TABLE or INSERT INTO");
  }

  Result<Statement> ParseSelect() {
    if (auto s = ExpectSymbol(u'*'); !s) return s.error();
    if (auto s = ExpectKeyword(u"FROM"); !s) return s.error();
    auto table = ParseSheetRange("SELECT");
    if (!table) return table.error();
    return Statement{SelectAll{table.value()}};
  }

  Result<Statement> ParseDrop() {
    if (auto s = ExpectKeyword(u"TABLE"); !s) return s.error();
    auto table = ParseSheetRange("DROP TABLE");
    if (!table) return table.error();
    return Statement{DropTable{table.value()}};
  }

  Result<std::u16string> ParseColumnDefinition() {
    auto name = ParseName("a column name");
    if (!name) return name.error();
    if (auto s = ExpectKeyword(u"char"); !s) return SyntaxError("column " + Quoted(name.value()) + " must be of type char(<length>)");
    if (auto s = ExpectSymbol(u'('); !s) return s.error();
    const Token& length = Next();
    if ((length.kind != TokenKind::Number && length.kind != TokenKind::Word) || !IsLengthFrom1To255(length.text)) {
      return SyntaxError("a char column's length must be a number from 1 to 255");
    }
    if (auto s = ExpectSymbol(u')'); !s) return s.error();
    return name;
  }

  Result<Statement> ParseCreate() {
    if (auto s = ExpectKeyword(u"TABLE"); !s) return s.error();
    CreateTable create;
    auto table = ParseTable();
    if (!table) return table.error();
    create.table = table.value();
    if (auto s = ExpectSymbol(u'('); !s) return s.error();
    do {
      auto column = ParseColumnDefinition();
      if (!column) return column.error();
      create.columns.push_back(std::move(column.value()));
    } while (AcceptSymbol(u','));
    if (auto s = ExpectSymbol(u')'); !s) return s.error();
    return Statement{std::move(create)};
  }

  Status ParseList(std::vector<std::u16string>& items, std::vector<bool>* numbers) {
    if (auto s = ExpectSymbol(u'('); !s) return s.error();
    do {
      if (numbers) {
        const TokenKind kind = Peek().kind;
        if (kind != TokenKind::Text && kind != TokenKind::Number)
          return SyntaxError("expected a value in apostrophes or a number");
        numbers->push_back(kind == TokenKind::Number);
        items.push_back(Next().text);
      } else {
        auto name = ParseName("a column name");
        if (!name) return name.error();
        items.push_back(std::move(name.value()));
      }
    } while (AcceptSymbol(u','));
    return ExpectSymbol(u')');
  }

  Result<Statement> ParseInsert() {
    if (auto s = ExpectKeyword(u"INTO"); !s) return s.error();
    InsertRow insert;
    auto table = ParseSheetRange("INSERT INTO");
    if (!table) return table.error();
    insert.table = table.value();
    if (auto s = ParseList(insert.columns, nullptr); !s) return s.error();
    if (auto s = ExpectKeyword(u"VALUES"); !s) return s.error();
    if (auto s = ParseList(insert.values, &insert.numbers); !s) return s.error();
    if (insert.columns.size() != insert.values.size()) {
      return SyntaxError("INSERT INTO names " + std::to_string(insert.columns.size()) + " columns but gives " +
                         std::to_string(insert.values.size()) + " values");
    }
    return Statement{std::move(insert)};
  }

  std::vector<Token> m_tokens;
  size_t m_pos = 0;
};

}  // namespace

Result<Statement> ParseStatement(std::u16string_view text) {
  auto tokens = Tokenize(text);
  if (!tokens) return tokens.error();
  return Parser(std::move(tokens.value())).ParseAll();
}

}  // namespace xls::sql
