#include "sheet/row_text.h"

namespace row_text {

namespace {

// A row is joined over at most this many line breaks; beyond, the opening
// quotation mark is taken as a stray one.
constexpr size_t kMaxJoinedLines = 4096;

struct Line {
  std::string_view text;
  std::string_view end;  // the line break after it; empty for the last line
};

std::vector<Line> PhysicalLines(std::string_view file) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < file.size()) {
    const size_t at = file.find_first_of("\r\n", start);
    if (at == std::string_view::npos) {
      lines.push_back({file.substr(start), {}});
      break;
    }
    const size_t width = file[at] == '\r' && at + 1 < file.size() && file[at + 1] == '\n' ? 2 : 1;
    lines.push_back({file.substr(start, at - start), file.substr(at, width)});
    start = at + width;
  }
  return lines;
}

}  // namespace

std::string Quote(std::string_view value) {
  std::string quoted = "\"";
  for (const char ch : value) {
    quoted += ch;
    if (ch == '"') quoted += '"';
  }
  return quoted + "\"";
}

Form Split(std::string_view text, std::string_view separator, std::vector<std::string>& values) {
  values.clear();
  size_t pos = 0;
  for (;;) {
    if (pos >= text.size() || text[pos] != '"') return Form::NotQuoted;
    ++pos;
    std::string value;
    for (;;) {
      const size_t quote = text.find('"', pos);
      if (quote == std::string_view::npos) return Form::OpenQuote;
      value.append(text.substr(pos, quote - pos));
      pos = quote + 1;
      if (pos < text.size() && text[pos] == '"') {
        value += '"';
        ++pos;
        continue;
      }
      break;
    }
    values.push_back(std::move(value));
    if (pos == text.size()) return Form::Quoted;
    if (separator.empty() || text.substr(pos, separator.size()) != separator) return Form::NotQuoted;
    pos += separator.size();
  }
}

std::vector<std::string> SplitLines(std::string_view file, std::string_view separator) {
  const std::vector<Line> lines = PhysicalLines(file);
  std::vector<std::string> rows;
  std::vector<std::string> values;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string row(lines[i].text);
    if (Split(row, separator, values) == Form::OpenQuote) {
      std::string joined = row;
      for (size_t j = i + 1; j < lines.size() && j - i <= kMaxJoinedLines; ++j) {
        joined.append(lines[j - 1].end).append(lines[j].text);
        const Form form = Split(joined, separator, values);
        if (form == Form::OpenQuote) continue;
        if (form == Form::Quoted) {
          row = std::move(joined);
          i = j;
        }
        break;
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace row_text
