// Prints every sheet of a workbook and its rows as UTF-8 text, cells
// separated by tabs.
#include <cstdio>
#include <string>

#include "xls/workbook.h"

namespace {

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xls-dump WORKBOOK.xls\n");
    return 2;
  }
  auto book = xls::Workbook::Load(argv[1]);
  if (!book) {
    std::fprintf(stderr, "%s: %s\n", argv[1], book.error().text.c_str());
    return 1;
  }
  for (size_t s = 0; s < book->SheetCount(); ++s) {
    std::printf("== %s ==\n", ToUtf8(book->SheetName(s)).c_str());
    auto grid = book->ReadSheet(s);
    if (!grid) {
      std::printf("(%s)\n", grid.error().text.c_str());
      continue;
    }
    for (const auto& row : grid.value()) {
      std::string line;
      for (size_t c = 0; c < row.size(); ++c) line += (c ? "\t" : "") + ToUtf8(row[c]);
      std::printf("%s\n", line.c_str());
    }
  }
  return 0;
}
