// Feeds arbitrary bytes to the .xlsx reader: opening the package, reading
// every sheet, rewriting one sheet, adding one and saving again must end in
// a value or an error text, never in a crash. When the save succeeds, the
// saved package must hold the rewritten and the added sheet as written, and
// every other sheet exactly as it read before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "xlsx/xlsx_workbook.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto book = xlsx::XlsxWorkbook::Parse(std::vector<uint8_t>(data, data + size));
  if (!book) return 0;
  std::vector<std::optional<xls::Grid>> before;
  for (size_t s = 0; s < book->SheetCount(); ++s) {
    auto grid = book->ReadSheet(s);
    before.push_back(grid ? std::optional<xls::Grid>(std::move(*grid)) : std::nullopt);
  }
  const xls::Grid rewritten = {{u"x", u"", u"<&>"}, {}, {u"", u"L1"}};
  const xls::Grid added = {{u"a", u"b"}, {u"回路", u"_x0041_"}};
  if (book->SheetCount() > 0) book->ReplaceSheet(0, rewritten);
  if (book->HasSheetNamed(u"CSpreadSheetBackup")) return 0;
  const size_t added_index = book->AddSheet(u"CSpreadSheetBackup", added);
  auto saved = book->Serialize();
  if (!saved) return 0;
  auto again = xlsx::XlsxWorkbook::Parse(*saved);
  Check(again.ok());
  Check(again->SheetCount() == added_index + 1);
  for (size_t s = 0; s < again->SheetCount(); ++s) {
    Check(again->SheetName(s) == book->SheetName(s));
    auto grid = again->ReadSheet(s);
    if (s == added_index) {
      Check(grid.ok() && *grid == added);
    } else if (s == 0) {
      // Written as cells up to the last non-empty one in each row and column.
      Check(grid.ok() && *grid == rewritten);
    } else if (before[s]) {
      Check(grid.ok() && *grid == *before[s]);
    }
  }
  return 0;
}
