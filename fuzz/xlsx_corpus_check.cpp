// The backup over a folder of real-world .xlsx files: each is opened from a
// private copy, every sheet read, the backup sheet added as the program adds
// it (a copy of the first sheet) and the copy saved; the saved file is read
// again and every sheet compared with what was read before. One line per
// file, then the counts: read, refused (with the reason), backups written,
// backups refused, sheets that changed. Built with the sanitizers when
// LOADCALC_FUZZ is on, so a memory fault ends the run.
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "xlsx/xlsx_workbook.h"
#include "workbook/unicode_text.h"

namespace fs = std::filesystem;

namespace {

struct Counts {
  int files = 0, refused = 0, backups = 0, backup_refused = 0, changed_sheets = 0, unreadable_sheets = 0;
};

void Check(const fs::path& file, const fs::path& copy, Counts& counts) {
  ++counts.files;
  fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
  auto book = xlsx::XlsxWorkbook::Load(copy.string());
  if (!book) {
    ++counts.refused;
    std::printf("REFUSED %s: %s\n", file.filename().c_str(), book.error().text.c_str());
    return;
  }
  std::vector<std::optional<xls::Grid>> before;
  for (size_t s = 0; s < book->SheetCount(); ++s) {
    auto grid = book->ReadSheet(s);
    if (!grid) {
      ++counts.unreadable_sheets;
      std::printf("SHEET %s '%s': %s\n", file.filename().c_str(), xls::Utf16ToUtf8(book->SheetName(s)).c_str(),
                  grid.error().text.c_str());
    }
    before.push_back(grid ? std::optional<xls::Grid>(*grid) : std::nullopt);
  }
  if (book->SheetCount() == 0 || !before[0] || book->HasSheetNamed(u"CSpreadSheetBackup")) {
    std::printf("READ %s: %zu sheets, no backup to add\n", file.filename().c_str(), book->SheetCount());
    return;
  }
  book->AddSheet(u"CSpreadSheetBackup", *before[0]);
  if (auto saved = book->Save(copy.string()); !saved) {
    ++counts.backup_refused;
    std::printf("BACKUP REFUSED %s: %s\n", file.filename().c_str(), saved.error().text.c_str());
    return;
  }
  ++counts.backups;
  auto again = xlsx::XlsxWorkbook::Load(copy.string());
  if (!again || again->SheetCount() != before.size() + 1) {
    ++counts.changed_sheets;
    std::printf("CHANGED %s: the saved file %s\n", file.filename().c_str(),
                again ? "lost or gained a sheet" : again.error().text.c_str());
    return;
  }
  before.push_back(before[0]);
  for (size_t s = 0; s < before.size(); ++s) {
    auto grid = again->ReadSheet(s);
    if (before[s] && (!grid || *grid != *before[s])) {
      ++counts.changed_sheets;
      std::printf("CHANGED %s: sheet %zu\n", file.filename().c_str(), s);
    }
  }
  std::printf("OK %s: %zu sheets, backup written\n", file.filename().c_str(), before.size() - 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: xlsx-corpus-check CORPUS_FOLDER WORK_FOLDER\n");
    return 2;
  }
  Counts counts;
  const fs::path work = argv[2];
  fs::create_directories(work);
  for (const auto& entry : fs::directory_iterator(argv[1]))
    if (entry.is_regular_file()) Check(entry.path(), work / entry.path().filename(), counts);
  std::printf("files %d, refused %d, sheets unreadable %d, backups written %d, backups refused %d, sheets changed %d\n",
              counts.files, counts.refused, counts.unreadable_sheets, counts.backups, counts.backup_refused,
              counts.changed_sheets);
  return counts.changed_sheets == 0 ? 0 : 1;
}
