// Prints every sheet of a workbook (.xls, .xlsx or .xlsm) and its rows as
// UTF-8 text, cells separated by tabs.
#include <cstdio>
#include <string>

#include "sql/connection_book.h"
#include "workbook/unicode_text.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xls-dump WORKBOOK (.xls, .xlsx or .xlsm)\n");
    return 2;
  }
  // The same choice of format the program makes: a ZIP archive is .xlsx.
  auto book = xls::LoadSheetBook(argv[1]);
  if (!book) {
    std::fprintf(stderr, "%s: %s\n", argv[1], book.error().text.c_str());
    return 1;
  }
  for (size_t s = 0; s < (*book)->SheetCount(); ++s) {
    std::printf("== %s ==\n", xls::Utf16ToUtf8((*book)->SheetName(s)).c_str());
    auto grid = (*book)->ReadSheet(s);
    if (!grid) {
      std::printf("(%s)\n", grid.error().text.c_str());
      continue;
    }
    for (const auto& row : grid.value()) {
      std::string line;
      for (size_t c = 0; c < row.size(); ++c) line += (c ? "\t" : "") + xls::Utf16ToUtf8(row[c]);
      std::printf("%s\n", line.c_str());
    }
  }
  return 0;
}
