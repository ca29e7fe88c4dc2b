#include "sql/sql_connect_string.h"

#include <vector>

#include "sql/sql_text.h"

namespace xls::sql {

namespace {

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

char16_t ClosingOf(char16_t open) {
  switch (open) {
    case u'{': return u'}';
    case u'"': return u'"';
    case u'\'': return u'\'';
    default: return 0;
  }
}

// Splits at the semicolons that stand outside braces and quotation marks.
Result<std::vector<std::u16string_view>> SplitPairs(std::u16string_view text) {
  std::vector<std::u16string_view> pairs;
  size_t start = 0;
  char16_t closing = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (closing != 0) {
      if (ch == closing) closing = 0;
    } else if (ch == u';') {
      pairs.push_back(text.substr(start, i - start));
      start = i + 1;
    } else if (i > 0 && text[i - 1] == u'=') {
      closing = ClosingOf(ch);
    }
  }
  if (closing != 0) return MakeError("Connection string: a value is not closed by " + ToUtf8Text(std::u16string(1, closing)), ErrorKind::Syntax);
  pairs.push_back(text.substr(start));
  return pairs;
}

std::u16string Unwrap(std::u16string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && ClosingOf(value.front()) != 0 && value.back() == ClosingOf(value.front())) {
    value = value.substr(1, value.size() - 2);
  }
  return std::u16string(value);
}

Result<bool> ParseFlag(std::u16string_view key, std::u16string_view value) {
  if (EqualsIgnoringCase(value, u"TRUE") || value == u"1") return true;
  if (EqualsIgnoringCase(value, u"FALSE") || value == u"0") return false;
  return MakeError("Connection string: " + ToUtf8Text(key) + " must be TRUE or FALSE, not " + Quoted(value), ErrorKind::Syntax);
}

Status Apply(ConnectSettings& settings, std::u16string_view key, const std::u16string& value) {
  if (EqualsIgnoringCase(key, u"DRIVER")) {
    settings.driver = value;
  } else if (EqualsIgnoringCase(key, u"DSN")) {
    settings.dsn = value;
  } else if (EqualsIgnoringCase(key, u"DBQ")) {
    settings.workbook = value;
  } else if (EqualsIgnoringCase(key, u"CREATE_DB")) {
    settings.createPath = value;
  } else if (EqualsIgnoringCase(key, u"READONLY")) {
    auto flag = ParseFlag(key, value);
    if (!flag) return flag.error();
    settings.readOnly = flag.value();
  } else if (EqualsIgnoringCase(key, u"FIRSTROWHASNAMES")) {
    auto flag = ParseFlag(key, value);
    if (!flag) return flag.error();
    if (!flag.value()) return MakeError("Connection string: only FIRSTROWHASNAMES=1 is supported (the first row names the columns)");
  }
  return Ok{};
}

}  // namespace

Result<ConnectSettings> ParseConnectString(std::u16string_view text) {
  auto pairs = SplitPairs(text);
  if (!pairs) return pairs.error();
  ConnectSettings settings;
  for (std::u16string_view pair : pairs.value()) {
    if (Trim(pair).empty()) continue;
    const size_t equals = pair.find(u'=');
    if (equals == std::u16string_view::npos) {
      return MakeError("Connection string: " + Quoted(Trim(pair)) + " is not of the form KEY=value", ErrorKind::Syntax);
    }
    auto applied = Apply(settings, Trim(pair.substr(0, equals)), Unwrap(pair.substr(equals + 1)));
    if (!applied) return applied.error();
  }
  if (settings.workbook.empty()) return MakeError("Connection string names no workbook (DBQ is missing or empty)");
  return settings;
}

}  // namespace xls::sql
